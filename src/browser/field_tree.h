// Any record of a model file as tree nodes through its field table
// (formats/fields.h): one node "Name: value" per field, in file order.
// Integers print as signed or unsigned numbers, floats with six decimals
// (arrays joined with ", "), names and other text up to their terminator;
// a 4-byte ident prints as the int32 it reads as.
#pragma once

#include <initializer_list>
#include <span>
#include <string>

#include "browser/tree_sink.h"
#include "formats/byte_view.h"
#include "formats/fields.h"

namespace browser {

// The value of field `f` of the record at `at` as the tree shows it.
std::string fieldValue(formats::ByteView bytes, std::int64_t at, const formats::FieldInfo& f);

// Adds the fields of the record at `at` named in `only` (all when empty),
// in table order.
void addFields(TreeSink& sink, TreeNode parent, formats::ByteView bytes, std::int64_t at,
               std::span<const formats::FieldInfo> fields, std::initializer_list<const char*> only = {});

template <class T>
void addFields(TreeSink& sink, TreeNode parent, formats::ByteView bytes, std::int64_t at,
               std::initializer_list<const char*> only = {}) {
    addFields(sink, parent, bytes, at, formats::RecordInfo<T>::fields, only);
}

}  // namespace browser
