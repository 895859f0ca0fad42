// Download mode as the window shows it: the confirmation, the file named in the file list, the
// dialogue with the receiver in the message list, its points in the record gauge, the watchdog
// and the way back to the idle window.
#pragma once

#include "form/form_part.h"
#include "garmin/track_download.h"

#include <string>

namespace korvel {

class DownloadPresenter : FormPart {
  public:
    explicit DownloadPresenter(const FormPart& part);

    // The window is in download mode: the file list's text names the file to write.
    bool active() const { return active_; }
    bool running() const { return download_.running(); }
    void StartDownloadDialog();
    void StartDownload();
    // Ends a download without keeping anything of it; reason goes to List1.
    void CancelDownload(const std::string& reason);
    void EndDownloadMode();

  private:
    TrackDownload::Listener listener();
    void ended(const DownloadResult& result);

    bool active_ = false;
    TrackDownload download_;
};

} // namespace korvel
