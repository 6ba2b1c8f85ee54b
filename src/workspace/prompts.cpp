#include "workspace/prompts.h"
