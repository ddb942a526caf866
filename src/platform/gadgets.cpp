#include "platform/gadgets.h"
