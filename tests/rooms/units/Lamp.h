#pragma once

#include "check/Verdict.h"
#include "core/Value.h"

// A control unit that looks at the checker: against the direction of use.
struct Lamp
{
    Verdict verdict;
};
