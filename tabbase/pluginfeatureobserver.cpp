#include "pluginfeatureobserver.h"
