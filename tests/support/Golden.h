#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Compares a page dump with tests/golden/NAME; HUEBADGE_UPDATE_GOLDEN=1 rewrites the file.
inline void expectMatchesGolden(const std::string& name, const std::string& shown) {
    std::filesystem::path golden =
        std::filesystem::path(HUEBADGE_SOURCE_DIR) / "tests/golden" / name;
    if (std::getenv("HUEBADGE_UPDATE_GOLDEN")) {
        std::filesystem::create_directories(golden.parent_path());
        std::ofstream(golden) << shown;
    }
    std::ifstream in(golden);
    std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(shown, expected) << "golden file " << golden;
}
