// The blocking "loading" box the reader shows while a long service call runs. One box at
// a time: starting again while one is up reuses it.

#include "LectoroSDKWithReader/reader/ReaderViewController.h"

#include "LectoroSDKWithReader/foundation/MVFontManagerHelper.h"
#include "LectoroSDKWithReader/readersdk/utilities/LocalizationHelper.h"
#include "platform/base/Bundle.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Color.h"
#include "platform/ui/Environment.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"
#include "platform/ui/View.h"

namespace lectoro {

namespace {

constexpr double boxGrey = 0.19;
constexpr double boxAlpha = 0.9;
constexpr double boxCornerRadius = 10;
constexpr double spinnerTopInset = 15;
constexpr double loadingLabelSideInset = 20;
constexpr double loadingLabelBottomInset = 10;
constexpr double loadingLabelHeight = 30;
constexpr double loadingLabelFontSize = 20;

} // namespace

ui::Size ReaderViewController::activityBoxSize()
{
    return ui::Environment::current().isPad() ? ui::Size { 300, 130 } : ui::Size { 250, 100 };
}

void ReaderViewController::addActivityIndicator()
{
    auto container = view();
    if (!container || m_activityBox)
        return;
    ui::Size size = activityBoxSize();
    ui::Rect bounds = container->bounds();
    auto box = ui::View::create(
        ui::Rect { { (bounds.size.width - size.width) / 2, (bounds.size.height - size.height) / 2 }, size });
    box->setBackgroundColor(ui::Color::fromRGBA(boxGrey, boxGrey, boxGrey, boxAlpha));
    box->layer()->setCornerRadius(boxCornerRadius);
    box->setHidden(true);

    auto spinner = ui::ActivityIndicatorView::create(ui::ActivityIndicatorStyle::WhiteLarge);
    ui::Size spinnerSize = spinner->intrinsicContentSize();
    spinner->setFrame({ { (size.width - spinnerSize.width) / 2, spinnerTopInset }, spinnerSize });
    spinner->startAnimating();
    box->addSubview(spinner);

    auto label = ui::Label::create(
        ui::Rect { { loadingLabelSideInset, size.height - loadingLabelBottomInset - loadingLabelHeight },
            { size.width - 2 * loadingLabelSideInset, loadingLabelHeight } });
    auto bundle = LocalizationHelper::readerLanguageBundle();
    label->setText(LocalizationHelper::localizedStringWithKey(
        "LOADING_DATA", base::Bundle::defaultTable, bundle ? bundle : libraryBundleRef()));
    label->setTextColor(ui::Color::white());
    if (auto font = getCustomFont(loadingLabelFontSize))
        label->setFont(*font);
    label->setTextAlignment(ui::TextAlignment::Center);
    box->addSubview(label);

    container->addSubview(box);
    m_activityBox = box;
}

void ReaderViewController::startActivityIndicator()
{
    addActivityIndicator();
    if (auto container = viewIfLoaded())
        container->setUserInteractionEnabled(false);
    if (m_activityBox) {
        m_activityBox->setHidden(false);
        if (auto parent = m_activityBox->superview())
            parent->bringSubviewToFront(m_activityBox.get());
    }
}

void ReaderViewController::stopActivityIndicator()
{
    if (auto box = std::exchange(m_activityBox, nullptr))
        box->removeFromSuperview();
    if (auto container = viewIfLoaded())
        container->setUserInteractionEnabled(true);
}

} // namespace lectoro
