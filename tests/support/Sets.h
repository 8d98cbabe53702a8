#pragma once
// The sets the whole-program tests walk through. Kept apart from TestForm.h:
// the set table's names (Activation among them) would clash with the names
// some test files give their own fixtures.

#include "app/SetTable.h"

#include <vector>

// Every set with a bank of questions (the volume item has none), in menu order.
inline std::vector<SetInfo> setsWithABank()
{
    std::vector<SetInfo> sets;
    for (const SetInfo &s : setTable())
        if (!s.bankRoutine.isEmpty())
            sets.push_back(s);
    return sets;
}
