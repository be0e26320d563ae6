#include "LectoroSDKWithReader/annotations/pen/PaletteContainer.h"

#include "platform/ui/Constraint.h"
#include "platform/ui/Gesture.h"
#include "platform/ui/View.h"

namespace lectoro {

namespace {

// Touches on the open palette reach the palette; everywhere else they close it.
class PaletteContainerTouches final : public ui::GestureRecognizerDelegate {
public:
    explicit PaletteContainerTouches(std::weak_ptr<ui::View> palette)
        : m_palette(std::move(palette))
    {
    }
    bool shouldReceiveTouch(ui::GestureRecognizer&, ui::View* touched) override
    {
        auto palette = m_palette.lock();
        return !touched || !palette || !touched->isDescendantOf(palette.get());
    }

private:
    std::weak_ptr<ui::View> m_palette;
};

} // namespace

std::shared_ptr<ui::View> showPaletteInContainer(const std::shared_ptr<ui::View>& over,
    const std::shared_ptr<ui::View>& paletteView, const PalettePlacement& placement, std::function<void()> closeRequested)
{
    if (!over || !paletteView)
        return nullptr;
    auto container = ui::View::create();
    container->setTranslatesAutoresizingMaskIntoConstraints(false);
    over->addSubview(container);
    ui::Constraint::activate({
        container->topAnchor().constraintEqualTo(over->topAnchor()),
        container->bottomAnchor().constraintEqualTo(over->bottomAnchor()),
        container->leftAnchor().constraintEqualTo(over->leftAnchor()),
        container->rightAnchor().constraintEqualTo(over->rightAnchor()),
    });
    container->setFrame(over->bounds());

    auto touches = std::make_shared<PaletteContainerTouches>(paletteView);
    // The recogniser's action keeps its delegate alive for as long as the container lives.
    auto press = ui::LongPressGestureRecognizer::create(
        [touches, closeRequested = std::move(closeRequested)](ui::GestureRecognizer&) {
            if (closeRequested)
                closeRequested();
        });
    press->setMinimumPressDuration(0);
    press->setDelegate(touches);
    container->addGestureRecognizer(press);

    paletteView->setTranslatesAutoresizingMaskIntoConstraints(false);
    container->addSubview(paletteView);
    const ui::Rect bounds = container->bounds();
    double x = bounds.midX() + placement.centerXOffset - placement.width / 2;
    if (placement.leading) {
        x = bounds.origin.x + *placement.leading;
        ui::Constraint::activate({ paletteView->leadingAnchor().constraintEqualTo(container->leadingAnchor(), *placement.leading) });
    } else {
        ui::Constraint::activate(
            { paletteView->centerXAnchor().constraintEqualTo(container->centerXAnchor(), placement.centerXOffset) });
    }
    ui::Constraint::activate({
        paletteView->bottomAnchor().constraintEqualTo(container->bottomAnchor(), placement.bottomOffset),
        paletteView->widthAnchor().constraintEqualToConstant(placement.width),
        paletteView->heightAnchor().constraintEqualToConstant(placement.height),
    });
    paletteView->setFrame(ui::Rect { { x, bounds.maxY() + placement.bottomOffset - placement.height },
        { placement.width, placement.height } });
    return container;
}

} // namespace lectoro
