#include "reports/report.h"
