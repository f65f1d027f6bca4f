#include "app/editor.h"

#include "model/file_io.h"
#include "model/file_mapping.h"
#include "model/file_stamp.h"

namespace quillet {

bool Editor::fileChangedOnDisk() const
{
    if (!watchingFile_) return false;
    return stampOfPath(documentPath()) != knownFile_ || document_.mappedFileChanged();
}

// A file another program removed leaves the document as it is, which a save writes anew.
bool Editor::noticeFileChange()
{
    if (checksPaused_ || busy_) return false;
    if (untoldChange_) return true;
    if (!fileChangedOnDisk()) return false;
    std::optional<FileStamp> now = stampOfPath(documentPath());
    bool bytesChanged = document_.mappedFileChanged();
    // What the grid shows and the question says agree: the file as it is now.
    if (bytesChanged) document_.takeChangedFile();
    knownFile_ = now;
    changedSinceOpened_ = true;
    untoldChange_ = UntoldChange{!now && !bytesChanged, bytesChanged};
    return true;
}

// Looked at before every save and long job and whenever the window hears of a change.
bool Editor::checkFileOnDisk()
{
    if (!noticeFileChange()) return true;
    UntoldChange change = *untoldChange_;
    untoldChange_.reset();
    RaisedFlag asking(checksPaused_);
    if (change.removed) {
        showRefusal(fileNameOf(documentPath()) +
                    " was removed from disk by another program. The document is kept as it is shown; Save as "
                    "writes it to a file again.");
        return true;
    }
    if (!prompts_.askReloadChangedFile(changedFileText(change.bytesChanged))) return true;
    openFromDisk(documentPath());
    return false;
}

// What the change means for the document: the bytes of a mapped file follow it, a document
// held in memory stays as it was.
std::string Editor::changedFileText(bool bytesChanged) const
{
    std::string text = fileNameOf(documentPath()) + " was changed on disk by another program.\n\n";
    if (bytesChanged) {
        text += "The bytes you have not edited now come from the changed file";
        std::uint64_t held = document_.mapping->size();
        if (document_.file && document_.file->size < held)
            text += ", which is now " + std::to_string(document_.file->size) + " bytes long: the " +
                    std::to_string(held - document_.file->size) + " bytes past its end read as 00";
        text += isModified() ? ". The bytes you edited keep your values." : ".";
    } else {
        text += "The document still holds the file as it was when you opened it";
        text += isModified() ? ", with your edits." : ".";
    }
    text += isModified() ? "\n\nReload the file as it is now (your edits are lost), or keep editing?"
                         : "\n\nReload the file as it is now, or keep editing?";
    return text;
}

// Saving over a file another program changed since it was opened replaces what that program
// wrote: asked first.
bool Editor::confirmSaveOverChangedFile(const std::string& fileName)
{
    if (!changedSinceOpened_ || !knownFile_) return true;
    std::optional<FileStamp> target = stampOfPath(fileName);
    if (!target || !target->isSameFileAs(*knownFile_)) return true;
    return prompts_.askYesNo(MessageKind::Warning, "File changed on disk",
                             fileNameOf(fileName) +
                                 " was changed on disk by another program since you opened it. Saving replaces it "
                                 "with the document as shown here.\nSave anyway?");
}

}  // namespace quillet
