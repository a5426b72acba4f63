// Invariants of the parameter tables that a typo in the data would break,
// and the value rules every editing path shares.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "link/host_encoder.h"
#include "link/link_state.h"
#include "model/param_tables.h"
#include "tests/test_support.h"

namespace {

struct TableInfo {
    int number;
    int width, height;  // the panel the records sit on
};
constexpr TableInfo MainTables[] = {
    {TableDualMono, 799, 252},
    {TableStereo, 799, 234},
    {TableAnalyser, 524, 141},
};

bool Editable(ControlKind k) { return IsSavedKind(k); }

class ParamTables : public ::testing::Test {
protected:
    void SetUp() override { FreshStart(); }
};

TEST_F(ParamTables, IdsAreUniqueWithinEachFunctionTable) {
    for (const TableInfo& t : MainTables) {
        std::set<int> seen;
        const ParamDesc* table = TableByNumber(t.number);
        for (int i = 0; i < TableRecordCount(t.number); ++i) {
            EXPECT_TRUE(seen.insert(table[i].id).second) << "table " << t.number << " repeats id " << table[i].id;
            EXPECT_GE(table[i].id, 0);
            EXPECT_LT(table[i].id, IdSlots);
        }
    }
}

TEST_F(ParamTables, EveryRecordIsReachedThroughItsId) {
    for (const TableInfo& t : MainTables) {
        ParamDesc* table = TableByNumber(t.number);
        for (int i = 0; i < TableRecordCount(t.number); ++i)
            EXPECT_EQ(FindParam(t.number, table[i].id), &table[i]) << table[i].name;
    }
}

TEST_F(ParamTables, LabelListsCoverEveryIndexUpToMax) {
    for (int t = TableDualMono; t <= TableAnalyserDisplay; ++t) {
        const ParamDesc* table = TableByNumber(t);
        for (int i = 0; i < TableRecordCount(t); ++i) {
            const ParamDesc& r = table[i];
            const bool wantsLabels = r.kind == ControlKind::Choice || r.kind == ControlKind::CyclicChoice ||
                                     r.kind == ControlKind::Indicator || r.kind == ControlKind::Legend;
            EXPECT_EQ(wantsLabels, r.labels != nullptr) << r.name;
            if (r.labels == nullptr) continue;
            EXPECT_EQ(r.labels->count, static_cast<int>(r.max) + 1) << r.name;
            EXPECT_EQ(r.min, 0.0) << r.name;
            for (int k = 0; k <= static_cast<int>(r.max); ++k) {
                ASSERT_NE(LabelOf(r, k), nullptr) << r.name << " label " << k;
                EXPECT_GT(std::strlen(LabelOf(r, k)), 0u) << r.name << " label " << k;
            }
        }
    }
}

TEST_F(ParamTables, StartValuesLieWithinLimitsAndTextFieldsAreTerminated) {
    for (int t = TableDualMono; t <= TableAnalyser; ++t) {
        const ParamDesc* table = TableByNumber(t);
        for (int i = 0; i < TableRecordCount(t); ++i) {
            const ParamDesc& r = table[i];
            EXPECT_LT(r.min, r.max) << r.name;
            if (Editable(r.kind)) {
                EXPECT_GE(r.value, r.min) << r.name;
                EXPECT_LE(r.value, r.max) << r.name;
                EXPECT_GT(r.step, 0.0) << r.name;
            }
            EXPECT_LT(std::strlen(r.name), sizeof r.name);
            EXPECT_LE(std::strlen(r.unit), 7u);
            EXPECT_TRUE(r.decimals == 0 || r.decimals == 1) << r.name;
            EXPECT_EQ(r.flags, 0u);
        }
    }
}

TEST_F(ParamTables, EveryRectangleLiesInsideItsPanel) {
    for (const TableInfo& t : MainTables) {
        const ParamDesc* table = TableByNumber(t.number);
        for (int i = 0; i < TableRecordCount(t.number); ++i) {
            const ParamDesc& r = table[i];
            EXPECT_GE(r.x, 0) << r.name;
            EXPECT_GE(r.y, 0) << r.name;
            EXPECT_GT(r.width, 0) << r.name;
            EXPECT_GT(r.height, 0) << r.name;
            EXPECT_LE(r.x + r.width, t.width) << r.name;
            EXPECT_LE(r.y + r.height, t.height) << r.name;
        }
    }
}

TEST_F(ParamTables, NoTwoEditableControlsOverlap) {
    for (const TableInfo& t : MainTables) {
        const ParamDesc* table = TableByNumber(t.number);
        const int n = TableRecordCount(t.number);
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                const ParamDesc& a = table[i];
                const ParamDesc& b = table[j];
                if (!Editable(a.kind) || !Editable(b.kind)) continue;
                const bool overlap = a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
                                     b.y < a.y + a.height;
                EXPECT_FALSE(overlap) << a.name << " and " << b.name << " in table " << t.number;
            }
        }
    }
}

TEST_F(ParamTables, EveryRecordWithAHostCommandIsASavedKind) {
    for (const TableInfo& t : MainTables) {
        const ParamDesc* table = TableByNumber(t.number);
        for (int i = 0; i < TableRecordCount(t.number); ++i) {
            const ParamDesc& r = table[i];
            if (FindParamCommand(t.number, r.id) != nullptr) {
                EXPECT_TRUE(IsSavedKind(r.kind)) << r.name << " has a command but is not saved";
            }
        }
    }
}

TEST_F(ParamTables, StereoIsDualMonoWithoutTheRightChannelSettings) {
    const std::set<int> missing = {7, 13, 14, 15, 20, 29, 30, 31, 38, 39, 40, 41, 43, 63};
    const std::set<int> renamed = {6, 9, 10, 11, 19, 25, 26, 27, 35, 36, 37, 42, 62};
    const std::set<int> moved = {2, 3, 4, 16, 17, 32, 33, 48, 49, 50, 51, 52, 53, 54, 59, 60, 64, 66};
    const std::set<int> movedAcross = {17, 66};

    int common = 0;
    for (const ParamDesc& dm : DualMonoTable) {
        const ParamDesc* st = FindParam(TableStereo, dm.id);
        if (missing.count(dm.id)) {
            EXPECT_EQ(st, nullptr) << dm.name;
            continue;
        }
        ASSERT_NE(st, nullptr) << dm.name;
        ++common;
        EXPECT_EQ(st->kind, dm.kind) << dm.name;
        EXPECT_EQ(st->bitmap, dm.bitmap) << dm.name;
        EXPECT_EQ(st->value, dm.value) << dm.name;
        EXPECT_EQ(st->min, dm.min) << dm.name;
        EXPECT_EQ(st->max, dm.max) << dm.name;
        EXPECT_EQ(st->step, dm.step) << dm.name;
        EXPECT_EQ(st->decimals, dm.decimals) << dm.name;
        EXPECT_STREQ(st->unit, dm.unit) << dm.name;
        EXPECT_EQ(st->labels, dm.labels) << dm.name;
        EXPECT_EQ(st->helpContext, dm.helpContext) << dm.name;
        EXPECT_EQ(st->width, dm.width) << dm.name;
        EXPECT_EQ(st->height, dm.height) << dm.name;

        std::string name = dm.name;
        if (renamed.count(dm.id)) {
            const size_t at = name.find(" Left");
            ASSERT_NE(at, std::string::npos) << dm.name;
            name.erase(at, 5);
        }
        if (dm.id == 11) name = "Expander Relaese";  // as the unit's manual spells it
        EXPECT_EQ(name, st->name);

        EXPECT_EQ(st->y != dm.y, moved.count(dm.id) == 1) << dm.name;
        EXPECT_EQ(st->x != dm.x, movedAcross.count(dm.id) == 1) << dm.name;
    }
    EXPECT_EQ(common, StereoCount);
}

TEST_F(ParamTables, AnalyserRepeatsInputMeterAndOutputSettingsWithEqualLimits) {
    for (int id : {0, 1, 2, 3, 4, 52, 53, 54, 55, 56, 57, 58, 61, 65}) {
        const ParamDesc* a = FindParam(TableAnalyser, id);
        const ParamDesc* dm = FindParam(TableDualMono, id);
        ASSERT_NE(a, nullptr) << id;
        ASSERT_NE(dm, nullptr) << id;
        EXPECT_STREQ(a->name, dm->name);
        EXPECT_EQ(a->kind, dm->kind) << a->name;
        EXPECT_EQ(a->min, dm->min) << a->name;
        EXPECT_EQ(a->max, dm->max) << a->name;
        EXPECT_EQ(a->value, dm->value) << a->name;
        EXPECT_EQ(a->labels, dm->labels) << a->name;
    }
    EXPECT_EQ(FindParam(TableAnalyser, 41), nullptr);
    EXPECT_STREQ(FindParam(TableAnalyser, 33)->name, "Analyser Type Select");
    EXPECT_STREQ(FindParam(TableDualMono, 33)->name, "De-esser Key Listen");
}

TEST_F(ParamTables, AnalyserDisplayRecordsAreNumberedAtStartUp) {
    for (int b = 0; b < 30; ++b) {
        const ParamDesc& bar = AnalyserDisplayTable[7 + 2 * b];
        const ParamDesc& peak = AnalyserDisplayTable[8 + 2 * b];
        EXPECT_EQ(bar.id, 2 * b);
        EXPECT_EQ(peak.id, 2 * b + 1);
        EXPECT_EQ(bar.value, -130.0);
        EXPECT_EQ(peak.value, 0.0);
        EXPECT_EQ(FindParam(TableAnalyserDisplay, 2 * b), &bar);
    }
    for (int r = 67; r <= 72; ++r) EXPECT_EQ(AnalyserDisplayTable[r].id, 64 + r - 67);
    EXPECT_EQ(AnalyserDisplayTable[71].value, -130.0);
    EXPECT_EQ(AnalyserDisplayTable[72].value, 0.0);
    // The level meter bars shadow the two meter legends in the index.
    EXPECT_EQ(FindParam(TableAnalyserDisplay, 68), &AnalyserDisplayTable[71]);
    EXPECT_EQ(FindParam(TableAnalyserDisplay, 69), &AnalyserDisplayTable[72]);
    EXPECT_EQ(FindParam(TableAnalyserDisplay, 70), &AnalyserDisplayTable[6]);
    EXPECT_EQ(FindParam(TableAnalyserDisplay, 60), &AnalyserDisplayTable[0]);
}

TEST_F(ParamTables, FindParamRejectsUnknownTablesAndIds) {
    EXPECT_EQ(FindParam(TableStereo, 7), nullptr);
    EXPECT_EQ(FindParam(0, 0), nullptr);
    EXPECT_EQ(FindParam(5, 0), nullptr);
    EXPECT_EQ(FindParam(TableDualMono, -1), nullptr);
    EXPECT_EQ(FindParam(TableDualMono, 71), nullptr);
    EXPECT_EQ(FindParam(TableAnalyser, 5), nullptr);
}

struct FormatCase {
    double value;
    int decimals;
    const char* text;
};

TEST_F(ParamTables, NumericTextIsCutNotRounded) {
    const FormatCase cases[] = {
        {50.0, 0, "50"},      {2.0, 1, "2.0"},     {0.15, 1, "0.1"},        {-0.05, 1, "-0.0"},
        {25.5, 1, "25.5"},    {80.0, 0, "80"},     {4.3999999999999995, 1, "4.4"},
        {-110.0, 0, "-110"},  {-0.4, 0, "-0"},     {0.29999999999, 1, "0.3"}, {170.0, 1, "170.0"},
    };
    ParamDesc r = DualMonoTable[6];
    char text[64];
    for (const FormatCase& c : cases) {
        r.value = c.value;
        r.decimals = c.decimals;
        const int n = FormatParamValue(r, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.value;
        EXPECT_EQ(n, static_cast<int>(std::strlen(c.text)));
    }
}

TEST_F(ParamTables, NumericTextNeverOverrunsItsBuffer) {
    ParamDesc r = DualMonoTable[6];
    char text[8];
    for (double v : {1e300, -1e300, HUGE_VAL, -HUGE_VAL, std::nan(""), 12345678.9}) {
        r.value = v;
        r.decimals = 1;
        std::memset(text, 'x', sizeof text);
        const int n = FormatParamValue(r, text, 6);
        EXPECT_LE(n, 5);
        EXPECT_EQ(text[n], '\0');
        EXPECT_EQ(text[6], 'x');
    }
}

TEST_F(ParamTables, LabelOfNeverReadsOutsideTheList) {
    const ParamDesc& input = DualMonoTable[0];  // three labels, max 2
    EXPECT_STREQ(LabelOf(input, 2.9), "MicPh ");
    EXPECT_STREQ(LabelOf(input, 0.0), "Line  ");
    EXPECT_EQ(LabelOf(input, 3.0), nullptr);
    EXPECT_EQ(LabelOf(input, -0.5), nullptr);
    EXPECT_EQ(LabelOf(input, 255.0), nullptr);
    EXPECT_EQ(LabelOf(input, std::nan("")), nullptr);
    EXPECT_EQ(LabelOf(input, HUGE_VAL), nullptr);
    EXPECT_EQ(LabelOf(DualMonoTable[6], 0.0), nullptr);  // no labels

    ParamDesc widened = input;  // a max larger than the list
    widened.max = 10;
    EXPECT_EQ(LabelOf(widened, 5.0), nullptr);
}

TEST_F(ParamTables, BandCountsFollowTheAnalyserTypes) {
    const ParamDesc* type = FindParam(TableAnalyser, 33);
    ASSERT_NE(type, nullptr);
    for (int t = 0; t <= static_cast<int>(type->max); ++t) {
        const std::string label = LabelOf(*type, t);
        EXPECT_EQ(std::stoi(label), AnalyserBandCounts[t]) << label;
    }
    // The legend pairs name every band of their type once.
    const struct {
        const SelectionList* a;
        const SelectionList* b;
        int bands;
    } pairs[] = {{&BandLegend10A, &BandLegend10B, 10},
                 {&BandLegend15A, &BandLegend15B, 15},
                 {&BandLegend20A, &BandLegend20B, 20},
                 {&BandLegend30A, &BandLegend30B, 30}};
    for (const auto& p : pairs) EXPECT_EQ(p.a->count + p.b->count, p.bands);
}

}  // namespace
