// The class list that the program fills during a run and hands to the
// output module.
#pragma once

#include "model/ClassList.h"

class DocGenClassList : public ClassList {
public:
    DocGenClassList() = default;
    ~DocGenClassList() override;
};
