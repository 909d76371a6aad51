#include "host/host_services.h"

HostServices hostServices;
