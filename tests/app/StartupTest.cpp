#include "app/SetupApp.h"

#include <gtest/gtest.h>
