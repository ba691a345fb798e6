#pragma once

namespace pagora {

struct CliContext;
struct ParsedArguments;

// pagora-cli mag2bmp IN.mag OUT.bmp: converts a MAG picture to BMP.
int runMag2Bmp(const ParsedArguments& parsed, CliContext& context);
// pagora-cli imginfo FILE [--plugins DIR]: format, width, height and colours.
int runImgInfo(const ParsedArguments& parsed, CliContext& context);

} // namespace pagora
