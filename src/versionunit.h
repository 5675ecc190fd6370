#pragma once

#include <string>

namespace quillet {

constexpr char VERSION_NR = '1';
constexpr char RELEASE_NR = '5';
constexpr char PATCH_NR = '0';
constexpr char MINORPATCH = '0';
constexpr const char* DATE_STRING = "2020/03/01";

std::string VERSION_STRING();  // "1.5.00"
std::string VERSION_DATE();

}  // namespace quillet
