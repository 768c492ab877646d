#pragma once
#include <windows.h>

#include <string>

#include "ui/image_list.h"
#include "ui/window_subclass.h"

// A flat bitmap button that can play an animation: the refresh button. It shows one face
// image in every state, with no edges and no focus rectangle, and sizes itself to it; while
// it plays it shows the frames of a strip in turn and the wait cursor, otherwise the hand
// cursor. A click (the mouse released over the button after a press on it, or the space
// bar) reaches the parent as WM_COMMAND with the button's ID and window. Its tooltip follows
// the mouse over the button.
class CPlayButton final : public CWindowSubclass {
public:
    static constexpr UINT_PTR kFrameTimer = 1002;
    static constexpr UINT_PTR kStopTimer = 1003;
    static constexpr UINT kFramesPerSecond = 12;

    ~CPlayButton() override;

    // The pictures of a button: the face is image 0 of the first bitmap, the frames the images
    // of the second, both of the given width.
    struct Pictures {
        UINT faceId;
        UINT framesId;
        int imageWidth;
    };

    // Takes over the button with its pictures and tip.
    void Attach(HWND button, const Pictures& pictures, const std::wstring& tip);
    // Takes other pictures, for another DPI, and sizes the button to them.
    void SetPictures(const Pictures& pictures);
    void SetTipText(const std::wstring& tip);

    bool Playing() const { return playing_; }
    // From the first frame on; when it plays already, it goes on and a stop asked for is dropped.
    void Play();
    // Stops once the time has passed, so that even a short play is seen.
    void StopAfter(UINT ms);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    void Stop();
    void Click();
    void RelayToTip(UINT message, WPARAM wParam, LPARAM lParam) const;
    bool CursorOverButton() const;

    ImageListHandle face_;
    ImageListHandle frames_;
    int frameCount_ = 0;
    int frame_ = 0;
    bool playing_ = false;
    bool pressed_ = false;
    HWND tooltip_ = nullptr;
    std::wstring tip_;
};
