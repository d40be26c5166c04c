// The skin engine as the application sees it.
#pragma once
#include "skin/attach.h"
#include "skin/theme.h"
