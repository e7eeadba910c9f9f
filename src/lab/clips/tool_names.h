// The tool's stream types, frame pipeline and font, which the lab builds its clips and reports
// on, named in the lab's namespace.
#pragma once

#include "tool/compare/bitmap_font.h"
#include "tool/errors/cli_error.h"
#include "tool/pipeline/frame_pipeline.h"
#include "tool/y4m/integer_parse.h"
#include "tool/y4m/stream_frame_view.h"
#include "tool/y4m/y4m_frame.h"
#include "tool/y4m/y4m_header.h"

namespace velmire::lab {

using cli::ChromaLayout;
using cli::DrawText;
using cli::FrameGeometry;
using cli::FrameStages;
using cli::GlyphPixel;
using cli::InputError;
using cli::kGlyphAdvance;
using cli::kGlyphHeight;
using cli::MakeFrameGeometry;
using cli::ParseY4mHeader;
using cli::ParseInteger;
using cli::RunFramePipeline;
using cli::StreamFrameView;
using cli::UsageError;
using cli::ViewStreamFrame;
using cli::Y4mFrame;
using cli::Y4mHeader;

}  // namespace velmire::lab
