#include "platform/errors.h"

namespace pagora {

ConversionError notAnInteger(const std::string& token) {
    return ConversionError("'" + token + "' is not a valid integer value");
}

} // namespace pagora
