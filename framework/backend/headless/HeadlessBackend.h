// A display in memory for tests and pictures: a screen of any size, input played from a script,
// message boxes recorded instead of shown. When the program's loop waits and the script is
// empty, the idle handler runs once (it may queue more input or end the loop); a wait that
// still finds nothing reports a desktop Close, so a modal loop never waits for ever.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "framework/backend/Backend.h"

class CHeadlessBackend : public CBackend {
public:
    struct RecordedMessage {
        CString caption;
        CString text;
    };

    explicit CHeadlessBackend(int width = 800, int height = 600);
    ~CHeadlessBackend() override;

    // CBackend
    CSize GetScreenSize() const override;
    void ShowScreen() override { m_bScreenShown = TRUE; }
    CSurface& GetSurface() override;
    void Present(const std::vector<CRect>& changed) override;
    bool NextEvent(BackendEvent& event, int timeoutMs) override;
    void SetCursor(const BackendImage* cursor) override;
    void SetTitle(const CString& title) override;
    void SetIcon(const BackendImage& icon) override;
    void Minimize() override;
    uint64_t GetTicks() const override { return m_nTicks; }
    void EnableScreenSaver(bool bEnable) override { m_bScreenSaver = bEnable; }
    void ShowMessage(const CString& caption, const CString& text) override;

    // Scripted input, in screen pixels; buttons 1 left, 3 right. The MK_* state follows the
    // buttons held.
    void QueueMove(int x, int y);
    void QueueButtonDown(int x, int y, int button = 1);
    void QueueButtonUp(int x, int y, int button = 1);
    // A move to the point, then the button down and up there.
    void QueueClick(int x, int y, int button = 1);
    // keyState adds modifiers (MK_SHIFT, MK_CONTROL, MK_ALT) to the buttons held.
    void QueueKey(int vk, UINT keyState = 0);
    // The wheel turned at the point, positive notches away from the user.
    void QueueWheel(int x, int y, int notches);
    void QueueClose();
    void QueueEvent(const BackendEvent& event);
    BOOL HasQueuedEvents() const { return !m_events.empty(); }
    // The clock only moves when a test moves it, or when the loop waits with a bound.
    void AdvanceTime(uint64_t nMilliseconds) { m_nTicks += nMilliseconds; }
    bool IsScreenSaverEnabled() const { return m_bScreenSaver; }
    void SetIdleHandler(std::function<void()> handler) {
        m_idleHandler = std::move(handler);
        m_bIdleRan = false;
    }

    // What the program showed.
    COLORREF GetPixel(int x, int y) const;
    // Writes the screen as a PNG file; FALSE when it cannot be written.
    BOOL SaveScreenshot(const char* path) const;
    const std::vector<RecordedMessage>& GetMessages() const { return m_messages; }
    const CString& GetTitle() const { return m_strTitle; }
    BOOL IsScreenShown() const { return m_bScreenShown; }
    // The current cursor image, or null for the standard arrow.
    const BackendImage* GetCursor() const { return m_bHasCursor ? &m_cursor : nullptr; }
    // Every cursor image shown so far other than the arrow, in order.
    const std::vector<BackendImage>& GetCursorsShown() const { return m_cursorsShown; }
    BOOL HasIcon() const { return m_bHasIcon; }
    int GetMinimizeCount() const { return m_nMinimized; }
    int GetPresentCount() const { return m_nPresents; }
    // The rectangles of the last Present.
    const std::vector<CRect>& GetLastPresented() const { return m_lastPresented; }
    // The screen as it stood at the last Present (what a user would see).
    COLORREF GetPresentedPixel(int x, int y) const;

private:
    std::vector<uint32_t> m_pixels;
    std::vector<uint32_t> m_presented;
    CSurface m_surface;
    std::deque<BackendEvent> m_events;
    std::function<void()> m_idleHandler;
    std::vector<RecordedMessage> m_messages;
    std::vector<CRect> m_lastPresented;
    CString m_strTitle;
    BackendImage m_cursor;
    std::vector<BackendImage> m_cursorsShown;
    BOOL m_bHasCursor = FALSE;
    BOOL m_bHasIcon = FALSE;
    BOOL m_bScreenShown = FALSE;
    int m_nMinimized = 0;
    int m_nPresents = 0;
    bool m_bIdleRan = false;
    UINT m_nKeyState = 0;
    uint64_t m_nTicks = 0;
    bool m_bScreenSaver = true;
};
