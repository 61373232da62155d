// The pictures of the side windows, compiled into the program by the grathmoor_resources
// target (linking it is all a program needs to do).
#pragma once

#include <QStringList>

// Every resource path the target provides, e.g. ":/splash/box.jpg", and its twins drawn at
// twice and three times the scale, ":/splash/box@2x.jpg" and ":/splash/box@3x.jpg".
QStringList Art_Resource_Paths();
