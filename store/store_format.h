#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "store/xml_document.h"
#include "store/xml_element.h"

// The bytes of the decrypted-items file: a fixed 38-byte declaration that names UTF-8, then
// the root element in the writing thread's ANSI code page, on one line. Characters the code
// page cannot carry are written as character references, so the text reads back unchanged
// on any code page that holds the same U+0080..U+00FF characters.
inline constexpr std::string_view kStoreDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

// The file's bytes as a document. Parse failures are thrown.
CXmlDocument ParseStoreBytes(std::span<const std::uint8_t> bytes);

// The root element and everything in it, as the file's bytes.
std::string StoreBytes(const CXmlElement& root);
