#include "core/numbers.h"

#include <gtest/gtest.h>

#include "core/inpfail.h"
#include "core/mask.h"

using namespace vestral::core;

TEST(Numbers, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(round_to(1.005, 2), 1.01);
    EXPECT_EQ(round_to(466.65, 1), 466.7);
    EXPECT_EQ(round_to(-466.65, 1), -466.7);
    EXPECT_EQ(round_to(2.5, 0), 3.0);
    EXPECT_EQ(round_to(-2.5, 0), -3.0);
    EXPECT_EQ(round_to(0.004, 2), 0.0);
    EXPECT_EQ(round_to(0.005, 2), 0.01);
    EXPECT_EQ(round_to(999.995, 2), 1000.0);
    EXPECT_EQ(round_to(1234.5678, 2), 1234.57);
    EXPECT_EQ(round_to(5600.0 / 12, 1), 466.7);
    EXPECT_EQ(round_to(1e20, 2), 1e20);
}

TEST(Numbers, DivisionByZeroYieldsZero) {
    EXPECT_EQ(div0(5, 0), 0.0);
    EXPECT_EQ(div0(0, 0), 0.0);
    EXPECT_EQ(div0(6, 3), 2.0);
}

TEST(Numbers, PlainTextCarriesItsDecimals) {
    EXPECT_EQ(format_plain(1250.5, 2), "1250.50");
    EXPECT_EQ(format_plain(3, 3), "3.000");
    EXPECT_EQ(format_plain(2, 0), "2");
    EXPECT_EQ(format_plain(-0.001, 2), "0.00");
    EXPECT_EQ(format_plain(-12.345, 2), "-12.35");
    EXPECT_EQ(format_shortest(179275.6512345678), "179275.651234568");
    EXPECT_EQ(format_shortest(0.1 + 0.2), "0.3");
    EXPECT_EQ(format_shortest(1e-20), "0");
}

TEST(Numbers, LenientReading) {
    EXPECT_EQ(parse_lenient("  12.50xyz").value, 12.5);
    EXPECT_EQ(parse_lenient("  12.50xyz").decimals, 2);
    EXPECT_EQ(parse_lenient("-3").value, -3);
    EXPECT_EQ(parse_lenient("-3").decimals, 0);
    EXPECT_EQ(parse_lenient("").value, 0);
    EXPECT_EQ(parse_lenient("abc").value, 0);
    EXPECT_EQ(parse_lenient("1,5").value, 1);
    EXPECT_EQ(parse_lenient("3.000").decimals, 3);
    EXPECT_EQ(parse_lenient(".5").value, 0.5);
}

TEST(Masks, ResultMaskWithThousandsAndTrailingBlank) {
    EXPECT_EQ(format_mask(1234.5, "@E 999,999,999.99 "), "      1.234,50 ");
    EXPECT_EQ(format_mask(202025.43, "@E 999,999,999.99 "), "    202.025,43 ");
    EXPECT_EQ(format_mask(0, "@E 999,999,999.99 "), "          0,00 ");
    EXPECT_EQ(format_mask(-5.5, "@E 999,999.99"), "     -5,50");
    // The sign stands next to the first digit, also where a separator would be.
    EXPECT_EQ(format_mask(-100186.66, "@E 999,999,999.99 "), "   -100.186,66 ");
    // The sign stands next to the digits also where a thousands separator would follow.
    EXPECT_EQ(format_mask(-201, "@E 9,999,999.99"), "     -201,00");
    EXPECT_EQ(format_mask(-29712.5, "@E 9,999,999.99"), "  -29.712,50");
    EXPECT_EQ(format_mask(-201, "@E 999,999.99"), "   -201,00");
    EXPECT_EQ(format_mask(26, "@E 999"), " 26");
    EXPECT_EQ(format_mask(12, "999 "), " 12 ");
    EXPECT_EQ(format_mask(5.1162, "@E 99.999 "), " 5,116 ");
}

TEST(Masks, TooLargeShowsAsterisks) {
    EXPECT_EQ(format_mask(1000000, "@E 999999.99"), "******,**");
    EXPECT_EQ(format_mask(999999.99, "@E 999999.99"), "999999,99");
    EXPECT_EQ(format_mask(-100, "99"), "**");
}

TEST(Masks, EditFormHidesThousands) {
    Mask m = Mask::parse("@K@E 99,999,999.99 ");
    EXPECT_TRUE(m.replace_on_first_key);
    EXPECT_TRUE(m.european);
    EXPECT_EQ(m.decimals(), 2);
    EXPECT_EQ(m.integer_digits(), 8);
    EXPECT_EQ(m.format_for_edit(1234.5), "    1234,50 ");
    EXPECT_EQ(m.format(1234.5), "     1.234,50 ");
}

TEST(Masks, TypedInput) {
    Mask amount = Mask::parse("@K@E 999999999.99");
    EXPECT_EQ(amount.parse_input("1250.5").value, 1250.5);
    EXPECT_EQ(amount.parse_input("1250.5").decimals, 2);
    EXPECT_EQ(amount.parse_input("1250,5").value, 1250.5);
    EXPECT_EQ(amount.parse_input("  1250,505 ").value, 1250.51);
    EXPECT_EQ(amount.parse_input("1,2,3").value, 1.2);
    Mask rate = Mask::parse("@K@E 99999999.999");
    EXPECT_EQ(format_plain(rate.parse_input("3")), "3.000");
    Mask whole = Mask::parse("@K 9999");
    EXPECT_EQ(whole.parse_input("2007").value, 2007);
    EXPECT_EQ(whole.parse_input("2007").decimals, 0);
    Mask plain = Mask::parse("@K 99,999,999.99 ");
    EXPECT_EQ(plain.parse_input("1,500.50").value, 1500.5);  // without "@E" the comma groups thousands
}

TEST(Inpfail, PassesAtTheBounds) {
    EXPECT_FALSE(inpfail_message({"Kaltmiete", 0, {0, 0}, {99999, 0}, "", "", ""}));
    EXPECT_FALSE(inpfail_message({"Kaltmiete", 99999, {0, 0}, {99999, 0}, "", "", ""}));
}

TEST(Inpfail, TooLowComesFirstEvenWithCrossedBounds) {
    auto m = inpfail_message({"Eigenkapital", 5, {10, 0}, {2, 0}, "", "", ""});
    ASSERT_TRUE(m);
    EXPECT_EQ(*m,
              "Die Eingabe für 'Eigenkapital' ist zu niedrig !\nGeben Sie einen Wert zwischen 10 und 2 ein.");
}

TEST(Inpfail, MessagesWithTypicalValues) {
    auto both = inpfail_message({"Hypothekenzinssatz", 25, {0, 0}, {19, 0}, "4", "12", "%"});
    EXPECT_EQ(
        *both,
        "Die Eingabe für 'Hypothekenzinssatz' ist zu hoch !\nGeben Sie einen Wert zwischen 0 und 19 ein.\n\n"
        "Durchschnittswerte: 4% bis 12%.");
    auto first = inpfail_message({"Mieterhöhung", 20, {0, 0}, {19, 0}, "3,0", "", "%"});
    EXPECT_EQ(first->substr(first->rfind('\n') + 1), "Durchschnittswert: 3,0%.");
    auto second = inpfail_message({"X", -1, {0, 0}, {19, 0}, " ", "7", "%"});
    EXPECT_EQ(second->substr(second->rfind('\n') + 1), "Durchschnittswert: 7%.");
    auto amount = inpfail_message({"Eigenkapital", 200000, {0, 0}, {100000, 2}, "", "", ""});
    EXPECT_NE(amount->find("zwischen 0 und 100000.00 ein."), std::string::npos);
}

TEST(CenterDialog, CentresOnTheRememberedGeometry) {
    Rect8 r = bm_centerdialog(350, 510, 0, 0, 600, 800);
    EXPECT_EQ(r.top, 300 - 175);
    EXPECT_EQ(r.left, 400 - 255);
    EXPECT_EQ(r.bottom, r.top + 350);
    EXPECT_EQ(r.right, r.left + 510);
    Rect8 odd = bm_centerdialog(231, 101, 10, 20, 611, 821);
    EXPECT_EQ(odd.top, 310 - 115);
    EXPECT_EQ(odd.left, 420 - 50);
}
