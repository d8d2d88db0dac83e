// What this library takes from the support library.
#pragma once

#include "vek64.h"
#include "vek64_com.h"
#include "vek64_objects.h"
