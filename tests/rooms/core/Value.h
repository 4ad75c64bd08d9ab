#pragma once

struct Value
{
    int number = 0;
};
