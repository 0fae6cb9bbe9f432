#pragma once

#include <QImage>

#include "platform/picture.h"

namespace quorvel::platform {

// The pixels of a picture, for the Qt view that shows it.
const QImage& imageOf(const Picture& picture);

}  // namespace quorvel::platform
