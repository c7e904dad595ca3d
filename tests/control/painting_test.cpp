#include "control_fixture.h"
