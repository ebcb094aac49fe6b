#pragma once
// The skin the program carries inside itself, used while no skin file is loaded: the package
// of the first of our skins, generated at build time.
#include <QByteArray>

QByteArray DefaultSkinPackage();
