// The date line of a new entry and the title of an entry saved without one, in several
// languages: the title never carries seconds, whatever the locale's short time holds.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include "store/EntryDates.h"

namespace kl::testing {
namespace {

const QDateTime Evening(QDate(2026, 12, 8), QTime(22, 15, 42));

TEST(EntryDates, DefaultTitleIsTheShortDateAndTheTimeToTheMinute) {
  struct Case {
    QLocale locale;
    QString time;  // the clock part as the locale writes hours and minutes
  };
  const Case cases[] = {
      {QLocale::c(), "22:15"},  // its short time is "HH:mm:ss"
      {QLocale(QLocale::German, QLocale::Germany), "22:15"},
      {QLocale(QLocale::English, QLocale::UnitedStates), "10:15"},
  };
  for (const Case& c : cases) {
    const QString title = QString::fromStdString(DefaultEntryTitle(Evening, c.locale));
    const QString date = c.locale.toString(Evening.date(), QLocale::ShortFormat);
    EXPECT_TRUE(title.startsWith(date + " " + c.time)) << title.toStdString();
    EXPECT_FALSE(title.contains("42")) << title.toStdString();
  }
  EXPECT_EQ(DefaultEntryTitle(Evening, QLocale::c()), "8 Dec 2026 22:15");
}

TEST(EntryDates, DateLineNamesTheDayAndUsesTheTwentyFourHourClock) {
  EXPECT_EQ(EntryDateLine(Evening, QLocale::c()), "Tuesday, 08 Dec 2026 22:15");
  EXPECT_EQ(EntryDateLine(Evening, QLocale(QLocale::German, QLocale::Germany)),
            "Dienstag, 08 Dez. 2026 22:15");
}

}  // namespace
}  // namespace kl::testing
