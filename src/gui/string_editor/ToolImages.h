#pragma once
// imglMain, the pictures of the string editor's tool bar, drawn by the program itself.

#include <QIcon>
#include <QList>

namespace pw {

// Index of each picture in the list returned by MakeToolImages.
enum ToolImage {
    kOpenImage = 0,
    kFindImage = 1,
    kFindNextImage = 2,
    kFindPreviousImage = 3,
    kReplaceImage = 4,
};

QList<QIcon> MakeToolImages();

} // namespace pw
