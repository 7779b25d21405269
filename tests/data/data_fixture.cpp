#include "tests/data/data_fixture.h"

#include <cstdlib>
#include <stdexcept>

