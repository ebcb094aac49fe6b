#include "platform/ui/GraphicsJpeg.h"
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

void TPngImage::LoadFromStream(TStream* Stream) { SetImage(ReadImage(Stream, "PNG", QStringLiteral("PNG"))); }

void TPngImage::SaveToStream(TStream* Stream) { WriteImage(Stream, FImage, "PNG"); }

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: jump back to
// the caller, which turns it into an exception after the codec is cleaned up.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr Info) {
  auto* err = reinterpret_cast<TJpegError*>(Info->err);
  (*Info->err->format_message)(Info, err->Message);
  std::longjmp(err->Jump, 1);
}

void JpegSilence(j_common_ptr, int) {}

QImage DecodeJpeg(const QByteArray& Data) {
  jpeg_decompress_struct info{};
  TJpegError err{};
  info.err = jpeg_std_error(&err.Manager);
  err.Manager.error_exit = JpegErrorExit;
  err.Manager.emit_message = JpegSilence;
  QImage result;
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&info);
    throw EInvalidGraphic(QStringLiteral("JPEG error: ") + QString::fromLocal8Bit(err.Message));
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(Data.constData()), static_cast<unsigned long>(Data.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  result = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = result.scanLine(int(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return result.convertToFormat(QImage::Format_RGB32);
}

QByteArray EncodeJpeg(const QImage& Image, int Quality) {
  const QImage rgb = Image.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info{};
  TJpegError err{};
  info.err = jpeg_std_error(&err.Manager);
  err.Manager.error_exit = JpegErrorExit;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(err.Jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    throw EInvalidGraphic(QStringLiteral("JPEG error: ") + QString::fromLocal8Bit(err.Message));
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(rgb.width());
  info.image_height = JDIMENSION(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, Quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

}  // namespace

void TJPEGImage::LoadFromStream(TStream* Stream) { SetImage(DecodeJpeg(Stream->ReadRest())); }

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (FImage.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot save an empty JPEG image"));
  Stream->WriteBuffer(EncodeJpeg(FImage, FQuality));
}
