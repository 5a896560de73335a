#include "windows/shared/NewsItems.h"

namespace quorvant {

qint16 SelectedNewsItem = 0;

}  // namespace quorvant
