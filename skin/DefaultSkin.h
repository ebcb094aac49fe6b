#pragma once
// The skin the program carries inside itself, used while no skin file is loaded: the package
// of the first of our skins. The generator under tools/ writes its definition at build time
// into the skin_default library, which users of this function link.
#include <QByteArray>

QByteArray DefaultSkinPackage();
