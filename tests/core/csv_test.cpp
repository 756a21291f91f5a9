#include "core/csv.h"

#include <gtest/gtest.h>

using namespace vestral::core;

TEST(Csv, NumbersCarryADecimalCommaAndNoThousandsSeparator) {
    EXPECT_EQ(csv_number(1234567.891, 2), "1234567,89");
    EXPECT_EQ(csv_number(-33.3, 2), "-33,30");
    EXPECT_EQ(csv_number(2024, 0), "2024");
    EXPECT_EQ(csv_number(1.0005, 3), "1,001");
    EXPECT_EQ(csv_number(-0.001, 2), "0,00");
    EXPECT_EQ(csv_number(5, -1), "5");
}

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(csv_field("Hypothek"), "Hypothek");
    EXPECT_EQ(csv_field("Gebühren"), "Gebühren");
    EXPECT_EQ(csv_field(""), "");
    EXPECT_EQ(csv_field("Miete; kalt"), "\"Miete; kalt\"");
    EXPECT_EQ(csv_field("Bank \"Nord\""), "\"Bank \"\"Nord\"\"\"");
    EXPECT_EQ(csv_field("zwei\r\nZeilen"), "\"zwei\r\nZeilen\"");
    EXPECT_EQ(csv_field("a\nb"), "\"a\nb\"");
    EXPECT_EQ(csv_field(" eingerückt"), "\" eingerückt\"");
    EXPECT_EQ(csv_field("1.234,5"), "1.234,5");
}

TEST(Csv, DocumentStartsWithTheBomAndEndsEveryRowWithCrLf) {
    EXPECT_EQ(csv_document({}), "\xEF\xBB\xBF");
    EXPECT_EQ(csv_document({{"Jahr", "Miete"}, {"1", "6000,00"}, {"2", "a;b"}}),
              "\xEF\xBB\xBF"
              "Jahr;Miete\r\n1;6000,00\r\n2;\"a;b\"\r\n");
    EXPECT_EQ(csv_document({{""}, {"", ""}}), "\xEF\xBB\xBF\r\n;\r\n");
}
