#include "model/DocGenClassList.h"

DocGenClassList::~DocGenClassList() = default;
