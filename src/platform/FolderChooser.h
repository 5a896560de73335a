#pragma once

#include "platform/ServiceInterfaces.h"

namespace quorvant {

// Qt's folder dialog with the prompt, start folder and the three button captions.
class QtFolderChooser : public FolderChooser {
public:
    std::optional<QString> Browse(QWidget* parent, const QString& prompt, const QString& startFolder,
                                  const FolderChooserCaptions& captions) override;
};

}  // namespace quorvant
