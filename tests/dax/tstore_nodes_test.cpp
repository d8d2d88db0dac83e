// To be written.
#include <gtest/gtest.h>
