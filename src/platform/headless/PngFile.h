// The picture file backend of the Linux program: compressed PNG files
// written by libpng, 8 bits a channel, without time or text chunks, so the
// same pixels always give the same bytes.
#pragma once

#include <memory>

#include "platform/PictureFile.h"

std::unique_ptr<IPictureFileWriter> CreatePngFileWriter();
