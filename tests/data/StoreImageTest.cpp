#include "data/StoreImage.h"
#include "data/FileError.h"
#include "data/ReadingValue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// The forms the program writes into the grid: the display form, "-----", the placeholder "0,0",
// an empty cell and short readings shown as they came.
TEST(ReadingValue, TurnsGridTextsIntoTenthsOfAPercent) {
    const struct {
        const char* Text;
        float Value;
    } cases[] = {
        {"075,3", 753}, {"100,0", 1000}, {"000,0", 0},   {"-----", 9999}, {"0,0", 0},
        {"", 0},        {"070,0", 700},  {"074,9", 749}, {"-", 9999},     {"12a,4", 124},
        {"--5--", 5},   {"999,9", 9999}, {"7", 7},       {"75", 75},      {"753", 753},
        {"-12", 12},    {"1.5", 15},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadingValue(c.Text), c.Value) << '"' << c.Text << '"';
}

// More digits than the display form holds come from no meter: they count as no number, where
// 39 digits and more used to become infinity and pass every limit.
TEST(ReadingValue, TextsWithMoreThanFourDigitsGiveZero) {
    for (const std::string& text :
         {std::string("12345"), std::string("075,31"), std::string("1-2-3-4-5"),
          std::string(39, '9'), std::string(255, '9'), "0" + std::string(254, '7')})
        EXPECT_EQ(ReadingValue(text), 0) << '"' << text << '"';
}

TEST(FileErrorText, WordsTheSystemsFileErrors) {
    const struct {
        unsigned long Code;
        const char* Text;
    } cases[] = {
        {2, "File not found"},      {3, "Path not found"}, {5, "File access denied"},
        {32, "File access denied"}, {112, "Disk full"},    {39, "Disk full"},
        {87, "I/O error 87"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileErrorText(c.Code), c.Text) << c.Code;
    EXPECT_STREQ(EFileError(2).what(), "File not found");
}

namespace {

std::unique_ptr<MeasurementSet> FilledStore(char fill) {
    auto store = std::make_unique<MeasurementSet>();
    std::memset(store.get(), fill, sizeof *store);
    return store;
}

} // namespace

// A shorter file replaces only the bytes it holds; bytes past the store's size are ignored.
TEST(LoadStoreImage, ReplacesAsManyLeadingBytesAsTheFileHolds) {
    for (const std::size_t size :
         {std::size_t{0}, std::size_t{3856}, std::size_t{34704}, std::size_t{40000}}) {
        auto store = FilledStore('s');
        const std::vector<char> file(size, 'f');
        LoadStoreImage(*store, file.data(), file.size());
        const auto* bytes = reinterpret_cast<const char*>(store.get());
        const std::size_t replaced = std::min(size, StoreImageSize);
        EXPECT_EQ(std::string(bytes, replaced), std::string(replaced, 'f')) << size;
        EXPECT_EQ(std::string(bytes + replaced, StoreImageSize - replaced),
                  std::string(StoreImageSize - replaced, 's'))
            << size;
    }
}

TEST(StoreValues, AreRecomputedFromTheReadingTextsOrCleared) {
    auto store = FilledStore(0);
    SetText(store->Slot(1).FrontText, "075,3");
    SetText(store->Slot(1).LeftText, "-----");
    SetText(store->Slot(1).RightText, "0,0");
    SetText(store->Slot(9).RightText, "069,9");
    store->Slot(5).FrontValue = 123;
    RecomputeValues(*store);
    EXPECT_EQ(store->Slot(1).FrontValue, 753);
    EXPECT_EQ(store->Slot(1).LeftValue, 9999);
    EXPECT_EQ(store->Slot(1).RightValue, 0);
    EXPECT_EQ(store->Slot(9).RightValue, 699);
    EXPECT_EQ(store->Slot(5).FrontValue, 0) << "an empty text gives 0";

    ClearValues(*store);
    for (const MeasurementRecord& slot : store->Slots) {
        EXPECT_EQ(slot.FrontValue, 0);
        EXPECT_EQ(slot.LeftValue, 0);
        EXPECT_EQ(slot.RightValue, 0);
    }
    EXPECT_EQ(GetText(store->Slot(1).FrontText), "075,3") << "texts are kept";
}
