#include "project/StatusBar_DrawPanel.h"
