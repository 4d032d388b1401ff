// The welcome text's placeholder for the product title.

#include <gtest/gtest.h>

#include "uFrWelcome.h"

namespace {

TEST(WelcomeText, PlaceholderIsReplacedInAnyLetterCaseEverywhere) {
  EXPECT_EQ(ExpandWelcomeText("установит #ARM#, #arm# и #Arm#.\n"),
            "установит Модуль интеграции Тавир Про 2.0.1, Модуль интеграции Тавир Про 2.0.1 и "
            "Модуль интеграции Тавир Про 2.0.1.\n");
}

TEST(WelcomeText, TextWithoutPlaceholderAndRegexCharactersStaysAsItIs) {
  EXPECT_EQ(ExpandWelcomeText("a.b*c $1 \\1 #AR M#"), "a.b*c $1 \\1 #AR M#");
}

} // namespace
