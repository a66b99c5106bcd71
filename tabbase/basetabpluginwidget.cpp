#include "basetabpluginwidget.h"
