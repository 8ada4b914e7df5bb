// Everything of the stand-in's project that the add-on can change, as bytes by
// part, so that two states of a model compare exactly and a difference names
// the parts that differ.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "API/Guid.hpp"

using ModelImage = std::map<std::string, std::string>; // part -> its bytes

// Every element (record and memo), link, element record of user data,
// property value, classification and category of elements, and the group
// suspension.
ModelImage TakeModelImage();

// The part that holds the element's record of user data.
std::string UserDataPart(const API_Guid& element);

// The parts that differ, at most `limit` of them; empty for equal images.
std::vector<std::string> ModelDifferences(const ModelImage& expected, const ModelImage& actual, std::size_t limit = 5);
