#include "iotriggerwidget.h"
