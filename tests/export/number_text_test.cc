#include "export/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

struct FloatCase {
  double value;
  char separator;
  const char* text;
};

TEST(FloatTextTest, GeneralForm) {
  const double inf = std::numeric_limits<double>::infinity();
  const FloatCase cases[] = {
      {2.5, '.', "2.5"},
      {-0.25, '.', "-0.25"},
      {100, '.', "100"},
      {123456789012345.0, '.', "123456789012345"},
      {999999999999999.0, '.', "999999999999999"},
      {1e15, '.', "1E15"},
      {1e16, '.', "1E16"},
      // The carry out of the 15 digits raises the exponent past 15.
      {999999999999999.9, '.', "1E15"},
      {123456789012345.6, '.', "123456789012346"},
      {123456789012345678.0, '.', "1.23456789012346E17"},
      {-123456789012345678.0, '.', "-1.23456789012346E17"},
      {123456789012.345678, '.', "123456789012.346"},
      {0.001, '.', "0.001"},
      {0.0001, '.', "0.0001"},
      {0.00012345, '.', "0.00012345"},
      {0.00001, '.', "1E-5"},
      {-1.5e-7, '.', "-1.5E-7"},
      {1e100, '.', "1E100"},
      {static_cast<double>(0.1f), '.', "0.100000001490116"},
      {0.1, '.', "0.1"},
      {0.30000000000000004, '.', "0.3"},
      {1.0 / 3, '.', "0.333333333333333"},
      {2.0 / 3, '.', "0.666666666666667"},
      // Exactly 2.42107249376944499985..., whose 18-digit expansion ends in
      // 500: the 16th digit of that expansion decides, not the exact value.
      {2.421072493769445, '.', "2.42107249376945"},
      {DBL_MAX, '.', "1.79769313486232E308"},
      {-DBL_MAX, '.', "-1.79769313486232E308"},
      {DBL_MIN, '.', "2.2250738585072E-308"},
      {std::numeric_limits<double>::denorm_min(), '.', "4.94065645841247E-324"},
      {0.0, '.', "0"},
      {-0.0, '.', "0"},
      {std::nan(""), '.', "NAN"},
      {-std::nan(""), '.', "NAN"},
      {inf, '.', "INF"},
      {-inf, '.', "-INF"},
      {2.5, ',', "2,5"},
      {-0.0001, ',', "-0,0001"},
      {1.5e-5, ',', "1,5E-5"},
      {1e15, ',', "1E15"},
  };
  for (const FloatCase& c : cases) {
    std::string text;
    AppendFloatText(c.value, c.separator, &text);
    EXPECT_EQ(text, c.text) << "value " << c.value;
  }
}

TEST(FloatTextTest, AppendsToWhatIsThere) {
  std::string text = "a\t";
  AppendFloatText(2.5, '.', &text);
  AppendScaledText(125000, '.', &text);
  AppendIntegerText(-7, &text);
  EXPECT_EQ(text, "a\t2.512.5-7");
}

struct ScaledCase {
  int64_t ten_thousandths;
  char separator;
  const char* text;
};

TEST(ScaledTextTest, ExactForm) {
  const ScaledCase cases[] = {
      {125000, '.', "12.5"},  // NUMERIC(9,2) 12.50
      {30000, '.', "3"},
      {-500, '.', "-0.05"},
      {1000000, '.', "100"},
      {50000, '.', "5"},
      {12345678900, '.', "1234567.89"},
      {0, '.', "0"},
      {1, '.', "0.0001"},
      {-1, '.', "-0.0001"},
      {10000, '.', "1"},
      {12345678, '.', "1234.5678"},
      {100000000000, '.', "10000000"},
      {INT64_MAX, '.', "922337203685477.5807"},
      {INT64_MIN, '.', "-922337203685477.5808"},
      {125000, ',', "12,5"},
      {-500, ',', "-0,05"},
  };
  for (const ScaledCase& c : cases) {
    std::string text;
    AppendScaledText(c.ten_thousandths, c.separator, &text);
    EXPECT_EQ(text, c.text) << "count " << c.ten_thousandths;
  }
}

TEST(IntegerTextTest, DecimalDigits) {
  const struct {
    int64_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-1, "-1"},
      {32767, "32767"},
      {INT64_MAX, "9223372036854775807"},
      {INT64_MIN, "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    std::string text;
    AppendIntegerText(c.value, &text);
    EXPECT_EQ(text, c.text);
  }
}

struct RoundCase {
  double value;
  int decimals;
  double rounded;
};

TEST(RoundToDecimalsTest, FixedTextReadBack) {
  const RoundCase cases[] = {
      {0.30000000000000004, 2, 0.3},
      {1234567.891, 2, 1234567.89},
      {1.5, 6, 1.5},
      {0.125, 2, 0.13},    // a half, away from zero
      {-0.125, 2, -0.13},
      {2.675, 2, 2.67},    // 2.67499999999999982...: below the half
      {1.5, 0, 2},
      {-2.5, 0, -3},
      {0.004, 2, 0},
      {0.005, 2, 0.01},    // 0.005000000000000000104...
      {0.0005, 2, 0},
      {1.0 / 3, 4, 0.3333},
      // Never more than 15 significant digits, whatever the decimals.
      {123456789012.3456789, 6, 123456789012.346},
      {1e20 + 16384, 4, 1e20},
      {999.9999, 2, 1000},
      {DBL_MAX, 2, DBL_MAX},
  };
  for (const RoundCase& c : cases) {
    EXPECT_EQ(RoundToDecimals(c.value, c.decimals), c.rounded)
        << "value " << c.value << " decimals " << c.decimals;
  }
}

TEST(RoundToDecimalsTest, NoNumbersStay) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(RoundToDecimals(std::nan(""), 2)));
  EXPECT_EQ(RoundToDecimals(inf, 2), inf);
  EXPECT_EQ(RoundToDecimals(-inf, 2), -inf);
  EXPECT_EQ(RoundToDecimals(0.0, 2), 0.0);
}

}  // namespace
