// The small pictures on the program's buttons and in its dialogs, drawn at run time so that
// they look the same on every desktop and at every scale.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace sw::pictures {

QIcon Make();      // a few bars
QIcon Copy();      // two sheets
QIcon Labels();    // a sheet of labels
QIcon Sample();    // a printed page
QIcon Tips();      // a light bulb
QIcon About();     // an "i" in a circle
QIcon Help();      // a question mark in a circle
QIcon Previous();  // an arrow to the left
QIcon Next();      // an arrow to the right
QIcon Exit();      // a door with an arrow
QIcon Program();   // the program's own picture: a bar code on a label

// A bar code drawing of the given size, for the dialogs' pictures.
QPixmap BarCodeArt(int width, int height);

}  // namespace sw::pictures
