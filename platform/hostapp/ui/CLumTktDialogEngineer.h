// The application's panes (the site's file and link views): told to show the
// site database afresh after a command changed the site.
#pragma once

#include <functional>

class CLumTktDialogEngineer {
  public:
    // The application's pane keeper; never freed.
    static CLumTktDialogEngineer* getInstance();

    // Refreshes every pane from the open site's database.
    void updatePanes();

    // How often the panes were refreshed in this run, and who hears it (the
    // front end that shows panes; empty to stop).
    int paneUpdates() const { return m_nUpdates; }
    void setPaneListener(std::function<void()> listener) { m_listener = std::move(listener); }

  private:
    int m_nUpdates = 0;
    std::function<void()> m_listener;
};
