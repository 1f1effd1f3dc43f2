#include "meter/SerialPortList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(const PortTable& ports) {
    return {ports.PortNames.begin(), ports.PortNames.begin() + ports.PortCount};
}

// A volatile key of each test's own under HKEY_CURRENT_USER (tests run in parallel), removed
// again at the end.
class PortKey : public ::testing::Test {
  protected:
    const std::string path = std::string("Software\\wmx-tests\\") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    HKEY key = nullptr;

    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
    }

    void SetString(const std::string& name, const std::string& data, bool withTerminator = true) {
        ASSERT_EQ(RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data.c_str()),
                                 DWORD(data.size() + (withTerminator ? 1 : 0))),
                  ERROR_SUCCESS);
    }
};

TEST(SerialPortList, ListsThePortsOfTheSystem) {
    PortTable ports;
    ASSERT_TRUE(ReadPortNames(ports));
    // The test rig's prefix maps COM5 to COM8; the system may list other ports around them.
    const std::vector<std::string> names = Names(ports);
    const std::vector<std::string> mapped = {"COM5", "COM6", "COM7", "COM8"};
    auto next = names.begin();
    for (const auto& port : mapped) {
        next = std::find(next, names.end(), port);
        ASSERT_NE(next, names.end()) << port << " missing or out of order";
    }
}

TEST(SerialPortList, MissingKeyGivesNoNames) {
    PortTable ports;
    ports.PortNames[0] = "COM1";
    ports.PortCount = 1;
    EXPECT_FALSE(ReadPortNames(ports, HKEY_CURRENT_USER, "Software\\wmx-tests\\no-such-key"));
    EXPECT_EQ(ports.PortCount, 0);
}

TEST_F(PortKey, EmptyKeyGivesNoNames) {
    PortTable ports;
    ports.PortCount = 3;
    EXPECT_TRUE(ReadPortNames(ports, HKEY_CURRENT_USER, path.c_str()));
    EXPECT_EQ(ports.PortCount, 0);
}

TEST_F(PortKey, TakesTheFirstSixteenValuesInRegistryOrder) {
    // Names in the order the registry keeps them, data in no order of its own.
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i) {
        char name[16], data[16];
        snprintf(name, sizeof name, "\\Device\\S%02d", i);
        snprintf(data, sizeof data, "COM%d", (i * 7) % 20 + 1);
        SetString(name, data);
        if (i < 16)
            expected.push_back(data);
    }
    PortTable ports;
    ASSERT_TRUE(ReadPortNames(ports, HKEY_CURRENT_USER, path.c_str()));
    EXPECT_EQ(Names(ports), expected);
}

TEST_F(PortKey, TakesTheStringDataOfEachValue) {
    const std::string longName(300, 'P');
    SetString("a", longName);
    SetString("b", "COM3", false);
    const DWORD number = 4;
    ASSERT_EQ(RegSetValueExA(key, "c", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                             sizeof number),
              ERROR_SUCCESS);
    SetString("d", "");
    PortTable ports;
    ASSERT_TRUE(ReadPortNames(ports, HKEY_CURRENT_USER, path.c_str()));
    EXPECT_EQ(Names(ports), (std::vector<std::string>{longName.substr(0, 255), "COM3", "", ""}));
}

} // namespace
