// Arbitrary bytes as the picture file an entry names: the core's header check, then the
// viewer's decoder. Beyond not crashing: a decoded picture is never larger than the limit,
// and a picture both accept has the size the header check gave it.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "QtFuzzSupport.h"
#include "entries/IconFiles.h"
#include "widgets/Pictures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace pelo;
  using fuzz::Check;
  fuzz::Application();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::optional<TIconFile> header = CheckBitmapHeader(bytes, bytes.size());
  if (header) {
    Check(header->Width >= 1 && header->Width <= kMaxPictureSide);
    Check(header->Height >= 1 && header->Height <= kMaxPictureSide);
  }

  QBuffer buffer;
  buffer.setData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  buffer.open(QIODevice::ReadOnly);
  const QImage image = DecodeEntryPicture(buffer);
  if (image.isNull()) return 0;
  Check(image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide);
  if (header) Check(image.size() == QSize(header->Width, header->Height));
  return 0;
}
