#pragma once
// What the print path hands the printer: the private print queue (scripts/test.sh starts it)
// writes each job as a PDF, and the page's image comes out of it pixel for pixel.

#include "ScreenPicture.h"

#include <optional>
#include <set>
#include <string>

// Notes the PDFs that the queue has written so far; Take waits for the next one.
class PrintedPages {
  public:
    PrintedPages();
    // Waits for the next PDF, handling messages meanwhile, and reads the one image on its page
    // into `page`, as it stands on the page. A fatal test failure when no PDF comes or it holds no
    // single image.
    void Take(std::optional<ScreenPicture>& page);

  private:
    std::set<std::string> Before;
};
