#include "summary/sums.h"
