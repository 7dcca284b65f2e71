#include "plot/Tpoints.h"
