#include "../Climbs.h"
