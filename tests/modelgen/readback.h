// Reads files the fixture writers made back into the writers' descriptions
// through ByteView and the layout records: counts, offsets and records as
// stored, section order and gaps from the header's offsets. Writing the
// description again must give the same bytes, and the positions found must
// be those the writer's image recorded. Meant for the writers' own output:
// a record outside the bytes throws.
#pragma once

#include "modelgen/md3_writer.h"
#include "modelgen/mdm_writer.h"
#include "modelgen/mdx_writer.h"

namespace readback {

// The description and where each record was found (`at.bytes` stays empty).
template <class Model, class Image>
struct Read {
    Model model;
    Image at;
};

Read<mg::Md3Model, mg::Md3Image> md3(const mg::Bytes& bytes);
Read<mg::MdmModel, mg::MdmImage> mdm(const mg::Bytes& bytes);
Read<mg::MdxModel, mg::MdxImage> mdx(const mg::Bytes& bytes);

}  // namespace readback
