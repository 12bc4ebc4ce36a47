#include "support/scenery_writer.h"
