// Tests of the application use the project's shared scratch folder.
#pragma once

#include "test_support/temp_dir.h"
