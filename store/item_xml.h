#pragma once
#include <memory>

#include "store/decrypted_item.h"
#include "store/xml_document.h"
#include "store/xml_element.h"

// The "item" element of the decrypted-items file: attributes "name" then "folder", child
// elements "path" then, when the time is known, "decrypt_time" in seconds since 1970.

// An item without a name is thrown as E_FAIL. The exists flag is left for the caller.
std::unique_ptr<CDecryptedItem> ReadItemElement(const CXmlElement& element);

void AppendItemElement(const CXmlDocument& document, const CXmlElement& list, const CDecryptedItem& item);
