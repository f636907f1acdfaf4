#include "widgets/MeasuredDocuments.h"

namespace pelo {

TMeasuredDocument::TMeasuredDocument(TUserNotices& notices, TDateRec today, std::size_t pack_budget)
    : Document(notices, today, &Measurer, SelectColorForDepth(ScreenBitsPerPixel()), pack_budget) {
  Document.EntryList().PictureCheck = [this](const TIconFile& picture) {
    return Measurer.CheckPicture(picture);
  };
}

}  // namespace pelo
