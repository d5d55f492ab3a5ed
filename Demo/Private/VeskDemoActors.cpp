#include "VeskDemoActors.h"
