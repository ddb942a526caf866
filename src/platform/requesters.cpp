#include "platform/requesters.h"
