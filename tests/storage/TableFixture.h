#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "storage/Table.h"

namespace versilla::storage::test {

/// A fresh folder per test, removed afterwards.
class TableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "versilla-storage-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    std::string readFile(const std::string& name) const
    {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    static OpenOptions quick(bool exclusive = true, bool readOnly = false)
    {
        OpenOptions o;
        o.exclusive = exclusive;
        o.readOnly = readOnly;
        o.lockAttempts = 1;
        return o;
    }

    std::filesystem::path dir;
};

} // namespace versilla::storage::test
