#pragma once
// The small pictures on the picture buttons, drawn rather than shipped so the executable
// stands alone.

#include <QIcon>

namespace ButtonPictures {
enum class Picture { Net, Options, Limit, ShowHot, All, Prev, Next, Exit, Ok, Cancel, Sound, Clock };
QIcon icon(Picture picture);
}
