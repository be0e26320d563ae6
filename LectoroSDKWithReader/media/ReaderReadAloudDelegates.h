#pragma once

// The parts of read-aloud that other objects hold as their delegate: the synchroniser,
// the chooser, the speed list and the colour pop-over. The chooser and the speed list hold
// their delegate strongly, so they hold this small object rather than the reader; once the
// feature is gone it forwards nothing.

#include "LectoroSDKWithReader/media/ReaderReadAloud.h"
#include "LectoroSDKWithReader/media/readaloud/MVReadToMeViewController.h"
#include "LectoroSDKWithReader/media/readaloud/MVSpeedSelectionOptionsView.h"
#include "LectoroSDKWithReader/reader/chrome/PenToolItemDelegate.h"

#include <functional>

namespace lectoro {

class ReaderReadAloud::Delegates : public AudioSyncControllerDelegate,
                                   public MVReadToMeViewControllerDelegates,
                                   public PenToolItemDelegate,
                                   public std::enable_shared_from_this<ReaderReadAloud::Delegates> {
public:
    explicit Delegates(ReaderReadAloud& owner)
        : m_owner(&owner)
    {
    }
    void detach() { m_owner = nullptr; }
    // Picked pen colours go here (the reader's pen dispatch by mode).
    void setPenColorHandler(std::function<void(const std::string&)> handler) { m_penColor = std::move(handler); }

    // The speed list's delegate, forwarding here.
    std::shared_ptr<MVSpeedSelectionOptionsDelegate> speedDelegate()
    {
        class Speed : public MVSpeedSelectionOptionsDelegate {
        public:
            explicit Speed(std::weak_ptr<Delegates> owner)
                : m_owner(std::move(owner))
            {
            }
            void speedOptionSelectedWithOption(int64_t option) override
            {
                if (auto owner = m_owner.lock(); owner && owner->m_owner)
                    owner->m_owner->speedOptionSelectedWithOption(option);
            }

        private:
            std::weak_ptr<Delegates> m_owner;
        };
        return std::make_shared<Speed>(weak_from_this());
    }

    // AudioSyncControllerDelegate.
    void didJumpToTextWithFrame(const ui::Rect& frame, const std::string& page) override
    {
        if (m_owner)
            m_owner->didJumpToTextWithFrame(frame, page);
    }
    void didJumpToSentenceWithWordFrames(const std::optional<std::vector<ui::Rect>>& frames, const std::string& page) override
    {
        if (m_owner)
            m_owner->didJumpToSentenceWithWordFrames(frames, page);
    }
    void didJumpToTextWithWordId(const std::string& wordId, const std::string& page) override
    {
        if (m_owner)
            m_owner->didJumpToTextWithWordId(wordId, page);
    }
    void audioSyncdidComplete() override
    {
        if (m_owner)
            m_owner->audioSyncdidComplete();
    }
    void audioSyncDidStopped() override
    {
        if (m_owner)
            m_owner->audioSyncDidStopped();
    }
    void audioSyncdidCompleteForPageIdentifier(const std::string& page) override
    {
        if (m_owner)
            m_owner->audioSyncdidCompleteForPageIdentifier(page);
    }

    // MVReadToMeViewControllerDelegates.
    void didCloseReadToMeView() override
    {
        if (m_owner)
            m_owner->didCloseReadToMeView();
    }
    void didTapOnReadToMeForReadAloud() override
    {
        if (m_owner)
            m_owner->didTapOnReadToMeForReadAloud();
    }
    void didTapOnAutoPlayForReadAloud() override
    {
        if (m_owner)
            m_owner->didTapOnAutoPlayForReadAloud();
    }
    void didTapOnLetMeReadForReadAloud() override
    {
        if (m_owner)
            m_owner->didTapOnLetMeReadForReadAloud();
    }

    // PenToolItemDelegate.
    void didSelectPenColor(const std::string& color) override
    {
        if (m_owner && m_penColor)
            m_penColor(color);
    }
    void willDismissPenToolColorPalleteView() override { }

private:
    ReaderReadAloud* m_owner;
    std::function<void(const std::string&)> m_penColor;
};

} // namespace lectoro
