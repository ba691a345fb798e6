#pragma once

#include <string>
#include <vector>

namespace pagora {

struct CliContext;

// pagora-cli mag2bmp IN.mag OUT.bmp: converts a MAG picture to BMP.
int runMag2Bmp(const std::vector<std::string>& arguments, CliContext& context);
// pagora-cli imginfo FILE [--plugins DIR]: format, width, height and colours.
int runImgInfo(const std::vector<std::string>& arguments, CliContext& context);

} // namespace pagora
