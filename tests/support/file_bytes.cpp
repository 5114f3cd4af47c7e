#include "file_bytes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

Bytes ReadFileBytes(const wxString& path)
{
    std::ifstream in(path.fn_str(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFileText(const wxString& path)
{
    std::ifstream in(path.fn_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

wxString WriteFileBytes(const wxString& path, const Bytes& bytes)
{
    return WriteFileText(path, std::string(bytes.begin(), bytes.end()));
}

wxString WriteFileText(const wxString& path, const std::string& text)
{
    std::ofstream out(path.fn_str(), std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    EXPECT_TRUE(out) << "cannot write " << path;
    return path;
}
