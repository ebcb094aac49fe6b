#pragma once
// Writes skin packages: the container of named members, compressed for the skin reader.
#include <QByteArray>
#include <vector>

struct TSkinMember {
  QByteArray Name;
  QByteArray Data;
};

// The compressed stream the skin package decoder reads back as data.
QByteArray LzhEncode(const QByteArray& data);
// Version, name list, size table and member data, uncompressed.
QByteArray BuildSkinContainer(const std::vector<TSkinMember>& members);
// A package: the 4-byte unpacked size followed by the compressed container.
QByteArray PackSkinPackage(const QByteArray& container);
