// The record's language when the combo box has no selection (-1), which no user can reach.
#include <gtest/gtest.h>

#include "Texts.h"

TEST(Texts, EveryLanguageOutsideTheListShowsEnglish) {
    EXPECT_EQ(&TextsForLanguage(0), &TextsGb2312);
    EXPECT_EQ(&TextsForLanguage(1), &TextsBig5);
    for (UiLanguage other : {2, 7, -1}) EXPECT_EQ(&TextsForLanguage(other), &TextsOther);
}
