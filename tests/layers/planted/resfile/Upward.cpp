#include "objects/ObjectClone.h"
