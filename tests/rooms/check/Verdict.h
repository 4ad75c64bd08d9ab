#pragma once

#include "Value.h"

struct Verdict
{
    Value measured;
};
