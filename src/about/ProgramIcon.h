#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon from the resources built into the program library.
namespace programicon {

// The icon in all its sizes (16, 32, 48 and 128 pixels).
QIcon icon();

// The icon at one of its sizes; a null pixmap for sizes it does not have.
QPixmap pixmap(int size);

} // namespace programicon
