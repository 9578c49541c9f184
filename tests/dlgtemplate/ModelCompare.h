// Field-by-field comparison of two parsed templates, shared by the unit tests and the fuzzer.
#ifndef TORVAN_TESTS_DLGTEMPLATE_MODELCOMPARE_H
#define TORVAN_TESTS_DLGTEMPLATE_MODELCOMPARE_H

#include <string>

#include "DialogTemplate.h"

// Empty when `a` and `b` hold the same header, font and items; otherwise names the first field
// that differs. Build state and builtSize are not content and are not compared.
inline std::string DescribeModelDifference(const DialogTemplate& a, const DialogTemplate& b) {
#define TORVAN_COMPARE(field) \
    if (!(a.field() == b.field())) return #field;
    TORVAN_COMPARE(dlgVer)
    TORVAN_COMPARE(signature)
    TORVAN_COMPARE(helpID)
    TORVAN_COMPARE(exStyle)
    TORVAN_COMPARE(style)
    TORVAN_COMPARE(itemCount)
    TORVAN_COMPARE(x)
    TORVAN_COMPARE(y)
    TORVAN_COMPARE(cx)
    TORVAN_COMPARE(cy)
    TORVAN_COMPARE(menu)
    TORVAN_COMPARE(windowClass)
    TORVAN_COMPARE(title)
    TORVAN_COMPARE(pointsize)
    TORVAN_COMPARE(weight)
    TORVAN_COMPARE(italic)
    TORVAN_COMPARE(charset)
    TORVAN_COMPARE(typeface)
#undef TORVAN_COMPARE
    for (std::size_t i = 0; i < a.items().size(); ++i) {
        if (!(a.items()[i] == b.items()[i])) return "item " + std::to_string(i);
    }
    return {};
}

#endif
