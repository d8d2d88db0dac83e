// What this library takes from the format library.
#pragma once

#include "morph64.h"
