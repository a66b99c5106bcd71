#include "featuremanager.h"
