#include "LectoroSDKWithReader/reader/chrome/PenColorSwatchItem.h"

#include "LectoroSDKWithReader/annotations/HighLightToolView.h"
#include "LectoroSDKWithReader/reader/chrome/ChromeMetrics.h"
#include "LectoroSDKWithReader/reader/chrome/PlayerActionTags.h"
#include "LectoroSDKWithReader/readersdk/PlayerActionBarItem.h"
#include "platform/base/Value.h"
#include "platform/ui/Label.h"
#include "platform/ui/Layer.h"

namespace lectoro {

std::shared_ptr<PlayerActionBarItem> makePenColorSwatchItem(
    const std::string& color, const PenSwatchItemStyle& style, bool selected, const ui::Color& selectedRing)
{
    auto item = PlayerActionBarItem::create();
    base::Value::Dictionary metaData;
    metaData.set(style.metaDataKey, base::Value(color));
    item->setMetaData(base::Value(std::move(metaData)));
    item->setBackgroundColor(ui::Color::clear());

    auto swatch = HighLightToolView::create();
    swatch->iconLabel()->setClipsToBounds(true);
    swatch->iconLabel()->setBackgroundColor(chrome::colorFromHex(color));
    swatch->contentView()->setBackgroundColor(ui::Color::clear());
    swatch->borderView()->layer()->setBorderWidth(style.ringWidth);
    swatch->borderView()->layer()->setBorderColor(ui::Color::clear());
    swatch->resetViewForColorPalletWithColorHeight(style.dotHeight);
    swatch->iconLabel()->setAccessibilityIdentifier("penTool_" + color);

    swatch->setTranslatesAutoresizingMaskIntoConstraints(false);
    item->addSubview(swatch);
    ui::Constraint::activate({
        swatch->leadingAnchor().constraintEqualTo(item->leadingAnchor()),
        swatch->trailingAnchor().constraintEqualTo(item->trailingAnchor()),
        swatch->topAnchor().constraintEqualTo(item->topAnchor()),
        swatch->bottomAnchor().constraintEqualTo(item->bottomAnchor()),
    });
    // The height the item asks for; the bar that holds it sets its frame and has the last word.
    auto height = item->heightAnchor().constraintEqualToConstant(style.itemHeight);
    height->setPriority(ui::LayoutPriority::required - 1);
    height->setActive(true);
    swatch->layoutIfNeeded();

    if (selected) {
        item->setSelected(true);
        swatch->borderView()->layer()->setBorderColor(selectedRing);
    }
    return item;
}

std::optional<std::string> swatchColor(const PlayerActionBarItem& item)
{
    return item.metaData()[penColorMetaDataKey].asString();
}

} // namespace lectoro
