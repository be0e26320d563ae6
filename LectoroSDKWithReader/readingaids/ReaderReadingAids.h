#pragma once

// Translation and the immersive reader as the reader offers them for a selected passage.
// The highlight pop-up hands the selected text here: translateSelectedText() opens the
// translation sheet, showImmersiveReaderWithString() fetches an access token and opens
// the immersive-reader screen. Neither is opened offline (the reader shows its
// "internet unavailable" alert instead); the reader keeps no strong hold on either.

#include <memory>
#include <string>

namespace lectoro {

struct ReaderContext;
class ImmersiveReaderViewController;
class MVTranslationController;

class ReaderReadingAids {
public:
    explicit ReaderReadingAids(ReaderContext&);
    ~ReaderReadingAids();

    // The translation sheet over the reader, presented over the current context with a
    // cross-dissolve; the service key is the reader's googleAPIKey.
    void translateSelectedText(const std::string& text);
    // One chunk of the text in a content titled with it, no options, no delegate; on
    // iPad over the current context without animation, elsewhere full screen animated.
    // A failed token request follows the reader's expired-session rule and opens nothing.
    void showImmersiveReaderWithString(const std::string& text);
    // The immersive-reader screen for a token already fetched (the highlight pop-up fetches
    // its own): presented as above, then the top bar's selection is cleared.
    void presentImmersiveReader(
        const std::string& text, const std::string& token, const std::string& subdomain);

    bool isTranslationOpen() const;
    // Closes an open translation sheet without animation.
    void removeTranslationController();

    // The screens last opened, while they live.
    std::shared_ptr<MVTranslationController> translationController() const { return m_translation.lock(); }
    std::shared_ptr<ImmersiveReaderViewController> immersiveReader() const
    {
        return m_immersiveReader.lock();
    }

private:
    bool showOfflineAlertIfNeeded();

    ReaderContext& m_context;
    std::weak_ptr<MVTranslationController> m_translation;
    std::weak_ptr<ImmersiveReaderViewController> m_immersiveReader;
    // Answers of a token request that come after the reader is gone are dropped.
    std::shared_ptr<int> m_lifetime = std::make_shared<int>(0);
};

} // namespace lectoro
