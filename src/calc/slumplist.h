#pragma once

#include <QStringList>

namespace calc {

// The slump values offered for one consistency class, written with three digits ("095"), and the
// position selected when the list is filled (-1 when the list is empty).
struct SlumpList
{
    QStringList values;
    int selected = -1;
};

} // namespace calc
