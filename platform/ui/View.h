#pragma once

// The retained, headless view tree.
//
// A view is data: geometry in points, subviews in order, flags, colours, a layer, and
// accessibility. Views are shared (std::shared_ptr); a superview is held weakly, so a
// tree is torn down by dropping its root. Create views with the static create()
// functions; constructors are protected so every view is owned by a shared_ptr.
//
// Every mutating call asserts the main thread in debug builds.

#include "platform/base/Thread.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Bitmask.h"
#include "platform/ui/Color.h"
#include "platform/ui/Constraint.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Layer.h"
#include "platform/ui/Responder.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class GestureRecognizer;

enum class ContentMode {
    ScaleToFill,
    ScaleAspectFit,
    ScaleAspectFill,
    Redraw,
    Center,
    Top,
    Bottom,
    Left,
    Right,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

enum class AutoresizingMask : uint32_t {
    None = 0,
    FlexibleLeftMargin = 1 << 0,
    FlexibleWidth = 1 << 1,
    FlexibleRightMargin = 1 << 2,
    FlexibleTopMargin = 1 << 3,
    FlexibleHeight = 1 << 4,
    FlexibleBottomMargin = 1 << 5,
};
UI_DEFINE_BITMASK_OPERATORS(AutoresizingMask)

enum class AccessibilityTraits : uint64_t {
    None = 0,
    Button = 1 << 0,
    Link = 1 << 1,
    Image = 1 << 2,
    Selected = 1 << 3,
    PlaysSound = 1 << 4,
    KeyboardKey = 1 << 5,
    StaticText = 1 << 6,
    SummaryElement = 1 << 7,
    NotEnabled = 1 << 8,
    UpdatesFrequently = 1 << 9,
    SearchField = 1 << 10,
    StartsMediaSession = 1 << 11,
    Adjustable = 1 << 12,
    AllowsDirectInteraction = 1 << 13,
    CausesPageTurn = 1 << 14,
    Header = 1 << 16,
    TabBar = 1 << 17,
};
UI_DEFINE_BITMASK_OPERATORS(AccessibilityTraits)

enum class SemanticContentAttribute { Unspecified, ForceLeftToRight, ForceRightToLeft };

class View : public Responder, public LayoutItem, public std::enable_shared_from_this<View> {
public:
    static std::shared_ptr<View> create(const Rect& frame = {});
    ~View() override;

    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // "View", "Label", "Button"… for dumps and failure messages.
    virtual std::string_view className() const { return "View"; }

    // Geometry. The frame is derived from centre, bounds and transform, as the
    // platform does; setting the frame of a transformed view sets the centre and the bounds
    // size whose transformed box fills that frame (a quarter-turned 30 x 15 view placed in a
    // 15 x 30 frame keeps 30 x 15 bounds).
    Rect frame() const;
    void setFrame(const Rect&);
    Rect bounds() const;
    void setBounds(const Rect&);
    Point center() const;
    void setCenter(const Point&);
    AffineTransform transform() const;
    void setTransform(const AffineTransform&);

    // Hierarchy. Adding a view that already has a superview moves it; adding a view to
    // itself or to one of its descendants is refused (it would make a cycle).
    const std::vector<std::shared_ptr<View>>& subviews() const { return m_subviews; }
    std::shared_ptr<View> superview() const { return m_superview.lock(); }
    void addSubview(const std::shared_ptr<View>&);
    // An index past the end appends.
    void insertSubview(const std::shared_ptr<View>&, size_t index);
    // When `sibling` is not a subview, the view is appended (above) or put first (below).
    void insertSubviewAbove(const std::shared_ptr<View>&, const View* sibling);
    void insertSubviewBelow(const std::shared_ptr<View>&, const View* sibling);
    void bringSubviewToFront(const View*);
    void sendSubviewToBack(const View*);
    void exchangeSubviews(size_t index1, size_t index2);
    void removeFromSuperview();
    // Index among the superview's subviews, or nullopt.
    std::optional<size_t> indexInSuperview() const;
    bool isDescendantOf(const View* ancestor) const;
    // The topmost ancestor (this view when it has no superview).
    std::shared_ptr<View> rootView();
    // The key window of the Environment when this view is in its tree, else null.
    std::shared_ptr<View> window();
    bool isInWindow() const;

    // Hooks, called around hierarchy changes.
    virtual void willMoveToSuperview(View* newSuperview);
    virtual void didMoveToSuperview();
    virtual void didAddSubview(View* subview);
    virtual void willRemoveSubview(View* subview);
    // A subview was hidden or shown.
    virtual void subviewVisibilityDidChange(View*) { }

    // Depth-first, self first; tag 0 is a tag like any other.
    int tag() const { return m_tag; }
    void setTag(int);
    std::shared_ptr<View> viewWithTag(int tag);
    // Depth-first, self first, by accessibility identifier.
    std::shared_ptr<View> viewWithAccessibilityIdentifier(const std::string&);

    bool isHidden() const;
    void setHidden(bool);
    double alpha() const;
    void setAlpha(double);
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool);
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool);
    bool isMultipleTouchEnabled() const { return m_multipleTouchEnabled; }
    void setMultipleTouchEnabled(bool);
    bool isExclusiveTouch() const { return m_exclusiveTouch; }
    void setExclusiveTouch(bool);
    bool clipsToBounds() const;
    void setClipsToBounds(bool);
    std::optional<Color> backgroundColor() const;
    void setBackgroundColor(std::optional<Color>);
    // The own tint when set, else the superview's, else the system blue.
    Color tintColor() const;
    std::optional<Color> ownTintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color>);
    virtual void tintColorDidChange() { }
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode);
    SemanticContentAttribute semanticContentAttribute() const { return m_semanticContentAttribute; }
    void setSemanticContentAttribute(SemanticContentAttribute);
    // Right-to-left when forced, or unspecified and the Environment says so.
    bool isRightToLeft() const;

    // Every view has a layer; its subviews' layers are its sublayers.
    const std::shared_ptr<Layer>& layer() const { return m_layer; }

    // Safe area: the explicit insets when set; otherwise how much of the key window's safe
    // area margins (Environment::safeAreaInsets) overlap this view; zero for a view in no
    // window and with no ancestor that sets insets.
    EdgeInsets safeAreaInsets() const;
    void setSafeAreaInsets(std::optional<EdgeInsets>);
    std::shared_ptr<LayoutGuide> safeAreaLayoutGuide();
    EdgeInsets layoutMargins() const { return m_layoutMargins; }
    void setLayoutMargins(const EdgeInsets&);
    std::shared_ptr<LayoutGuide> layoutMarginsGuide();
    void addLayoutGuide(const std::shared_ptr<LayoutGuide>&);
    void removeLayoutGuide(const LayoutGuide*);
    const std::vector<std::shared_ptr<LayoutGuide>>& layoutGuides() const { return m_layoutGuides; }

    // Coordinate conversion between this view's bounds and another view's bounds, through
    // every superview, bounds origin and transform. A null view means the root of this
    // view's tree (the window). Views in different trees convert through each root's
    // coordinates as if the roots shared one space.
    Point convertPointTo(const Point&, const View* view) const;
    Point convertPointFrom(const Point&, const View* view) const;
    Rect convertRectTo(const Rect&, const View* view) const;
    Rect convertRectFrom(const Rect&, const View* view) const;

    // The deepest visible, interactive view under the point (in this view's bounds
    // coordinates), front-most subview first. A view that is hidden, has alpha below 0.01,
    // or has user interaction off answers null for itself and its subviews.
    virtual std::shared_ptr<View> hitTest(const Point&);
    virtual bool pointInside(const Point&) const;

    // Layout. A pass first lets views update their constraints (updateConstraints, deepest
    // first), then solves the constraints of the whole tree and sets the frames they place,
    // then runs layoutSubviews() top-down wherever a layout is pending; it repeats while a
    // round changes constraints or frames (a few rounds at most). The run loop runs a pass
    // for the key window at the end of every turn; hit testing and pictures run one first.
    void setNeedsLayout();
    bool needsLayout() const { return m_needsLayout; }
    // Whether any view anywhere asked for layout or changed what its constraints solve to
    // since the last pass (cheap: the run loop asks it every turn).
    static bool layoutPending();
    // Runs the pass for this view's tree and lays out this view's subtree.
    void layoutIfNeeded();
    virtual void layoutSubviews();
    void setNeedsUpdateConstraints();
    bool needsUpdateConstraints() const { return m_needsUpdateConstraints; }
    void updateConstraintsIfNeeded();
    // Overrides change their constraints here and call the base last.
    virtual void updateConstraints();
    // The size the view's constraints give it, closest to `target` (fittingSizeLevel:
    // as small as they allow; required: exactly the target where they allow it).
    Size systemLayoutSizeFittingSize(const Size& target, float horizontalPriority = LayoutPriority::fittingSizeLevel,
        float verticalPriority = LayoutPriority::fittingSizeLevel);
    static constexpr Size layoutFittingCompressedSize { 0, 0 };
    // How strongly the view keeps to its intrinsic size when constraints would stretch
    // (hugging, default low) or squeeze it (compression resistance, default high).
    float contentHuggingPriority(LayoutConstraintAxis) const;
    void setContentHuggingPriority(float, LayoutConstraintAxis);
    float contentCompressionResistancePriority(LayoutConstraintAxis) const;
    void setContentCompressionResistancePriority(float, LayoutConstraintAxis);
    // Whether the layout engine of its tree has variables for this view (it then hears of
    // the view's frame and size changes).
    bool isTrackedByLayoutEngine() const { return m_layoutEngineTracks; }
    void setTrackedByLayoutEngine(bool tracked) { m_layoutEngineTracks = tracked; }
    // How many times layoutSubviews() ran (test support).
    int layoutCount() const { return m_layoutCount; }
    void setNeedsDisplay();
    int displayRequestCount() const { return m_displayRequests; }

    // Sizing. noIntrinsicMetric (-1) for a dimension the view has no opinion about.
    static constexpr double noIntrinsicMetric = -1;
    virtual Size intrinsicContentSize() const;
    // The base answers the current bounds size.
    virtual Size sizeThatFits(const Size&) const;
    void sizeToFit();
    // Subclasses call it when what decides their intrinsic size changed (text, font, image).
    void invalidateIntrinsicContentSize();
    bool translatesAutoresizingMaskIntoConstraints() const { return m_translatesAutoresizingMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool);
    AutoresizingMask autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(AutoresizingMask);
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool);

    // Editing: resigns the first responder when it is this view or inside it. Without
    // force the responder may refuse (its resignFirstResponder answers false); with force
    // it loses the status anyway. Answers whether no first responder remains in this
    // subtree.
    bool endEditing(bool force);
    bool isFirstResponder() const override;
    bool resignFirstResponder() override;
    Responder* nextResponder() const override;
    // The process's current first responder, when it is a view.
    static std::shared_ptr<View> currentFirstResponder();

    // The controller whose view this is, if any; it becomes the next responder.
    void setOwningController(std::weak_ptr<Responder> controller)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_owningController = std::move(controller);
    }
    std::shared_ptr<Responder> owningController() const { return m_owningController.lock(); }

    // Accessibility. Label and value default to what the view shows (a label's text, a
    // button's title); traits and element status default by class.
    const std::string& accessibilityIdentifier() const { return m_accessibilityIdentifier; }
    void setAccessibilityIdentifier(std::string);
    virtual std::string accessibilityLabel() const;
    void setAccessibilityLabel(std::optional<std::string>);
    virtual std::string accessibilityValue() const;
    void setAccessibilityValue(std::optional<std::string>);
    std::string accessibilityHint() const { return m_accessibilityHint.value_or(std::string()); }
    void setAccessibilityHint(std::optional<std::string>);
    virtual AccessibilityTraits accessibilityTraits() const;
    void setAccessibilityTraits(AccessibilityTraits);
    virtual bool isAccessibilityElement() const;
    void setIsAccessibilityElement(bool);
    bool accessibilityViewIsModal() const { return m_accessibilityViewIsModal; }
    void setAccessibilityViewIsModal(bool);
    bool accessibilityElementsHidden() const { return m_accessibilityElementsHidden; }
    void setAccessibilityElementsHidden(bool);
    // Held weakly; nullopt until set. The getter answers the elements still alive.
    std::optional<std::vector<std::shared_ptr<View>>> accessibilityElements() const;
    void setAccessibilityElements(std::optional<std::vector<std::shared_ptr<View>>>);
    std::string accessibilityLanguage() const { return m_accessibilityLanguage; }
    void setAccessibilityLanguage(std::string language)
    {
        BASE_ASSERT_MAIN_THREAD();
        m_accessibilityLanguage = std::move(language);
    }

    // Gesture recognisers: the view owns them; each holds the view weakly.
    void addGestureRecognizer(const std::shared_ptr<GestureRecognizer>&);
    void removeGestureRecognizer(const GestureRecognizer*);
    const std::vector<std::shared_ptr<GestureRecognizer>>& gestureRecognizers() const { return m_gestureRecognizers; }

    // Constraints held by this view (see Constraint.h). addConstraint activates.
    void addConstraint(const ConstraintPtr&);
    void addConstraints(const std::vector<ConstraintPtr>&);
    void removeConstraint(const Constraint*);
    void removeConstraints(const std::vector<ConstraintPtr>&);
    const std::vector<ConstraintPtr>& constraints() const { return m_constraints; }

    // Property observation: `key` ("frame", "bounds", "text", "font", …, as each class
    // documents) or "" for all; the callback runs after the change.
    using PropertyObserver = std::function<void(View&, const std::string& key)>;
    uint64_t addPropertyObserver(std::string key, PropertyObserver);
    void removePropertyObserver(uint64_t id);

    // Animations (Animation.h). The changes run at once; the completion runs with true on
    // the main run loop once it has advanced past delay + duration.
    static void animate(double duration, double delay, AnimationOptions, const std::function<void()>& changes,
        std::function<void(bool finished)> completion = {});
    static void animate(double duration, const std::function<void()>& changes,
        std::function<void(bool finished)> completion = {});
    static void transition(const std::shared_ptr<View>&, double duration, AnimationOptions,
        const std::function<void()>& changes, std::function<void(bool finished)> completion = {});
    static void performWithoutAnimation(const std::function<void()>& changes);
    static bool areAnimationsEnabled();

    // LayoutItem.
    View* layoutOwningView() const override { return const_cast<View*>(this); }
    std::weak_ptr<LayoutItem> weakLayoutItem() const override;
    std::string layoutItemName() const override;

protected:
    explicit View(const Rect& frame = {});
    // For views backed by a special layer (shape, gradient).
    View(const Rect& frame, std::shared_ptr<Layer>);

    // Called after a property observed by key changed; subclasses call it for their keys.
    void didChangeProperty(const std::string& key);
    // First-responder bookkeeping for subclasses that take it (text fields, text views):
    // null clears it.
    static void setCurrentFirstResponder(const std::shared_ptr<View>&);
    // What was set explicitly, for subclasses whose defaults differ.
    const std::optional<std::string>& explicitAccessibilityLabel() const { return m_accessibilityLabel; }
    const std::optional<std::string>& explicitAccessibilityValue() const { return m_accessibilityValue; }
    const std::optional<AccessibilityTraits>& explicitAccessibilityTraits() const { return m_accessibilityTraits; }
    const std::optional<bool>& explicitIsAccessibilityElement() const { return m_isAccessibilityElement; }

    // Bounds size changed: autoresizes subviews and asks for layout.
    virtual void boundsSizeDidChange(const Size& oldSize);

private:
    friend class Constraint;
    void insertSubviewAtIndex(std::shared_ptr<View>, size_t index);
    void detachFromSuperviewForMove();
    void placeLayerOf(const View& subview, size_t index);
    void deactivateConstraintsLeavingSubtree();
    void autoresizeSubviews(const Size& oldSize);
    Point pointToSuperview(const Point&) const;
    Point pointFromSuperview(const Point&) const;
    void setFrameNoNotify(const Rect&);
    void layOutSubtree(bool& ranAny);

    std::shared_ptr<Layer> m_layer;
    std::vector<std::shared_ptr<View>> m_subviews;
    std::weak_ptr<View> m_superview;
    std::weak_ptr<Responder> m_owningController;

    int m_tag = 0;
    bool m_opaque = true;
    bool m_userInteractionEnabled = true;
    bool m_multipleTouchEnabled = false;
    bool m_exclusiveTouch = false;
    std::optional<Color> m_tintColor;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
    SemanticContentAttribute m_semanticContentAttribute = SemanticContentAttribute::Unspecified;

    std::optional<EdgeInsets> m_safeAreaInsets;
    EdgeInsets m_layoutMargins { 8, 8, 8, 8 };
    std::shared_ptr<LayoutGuide> m_safeAreaGuide;
    std::shared_ptr<LayoutGuide> m_marginsGuide;
    std::vector<std::shared_ptr<LayoutGuide>> m_layoutGuides;

    bool m_needsLayout = true;
    bool m_needsUpdateConstraints = false;
    bool m_layoutEngineTracks = false;
    float m_hugging[2] = { LayoutPriority::defaultLow, LayoutPriority::defaultLow };
    float m_compressionResistance[2] = { LayoutPriority::defaultHigh, LayoutPriority::defaultHigh };
    int m_layoutCount = 0;
    int m_displayRequests = 0;
    bool m_translatesAutoresizingMask = true;
    AutoresizingMask m_autoresizingMask = AutoresizingMask::None;
    bool m_autoresizesSubviews = true;

    std::string m_accessibilityIdentifier;
    std::optional<std::string> m_accessibilityLabel;
    std::optional<std::string> m_accessibilityValue;
    std::optional<std::string> m_accessibilityHint;
    std::optional<AccessibilityTraits> m_accessibilityTraits;
    std::optional<bool> m_isAccessibilityElement;
    bool m_accessibilityViewIsModal = false;
    bool m_accessibilityElementsHidden = false;
    std::optional<std::vector<std::weak_ptr<View>>> m_accessibilityElements;
    std::string m_accessibilityLanguage;

    std::vector<std::shared_ptr<GestureRecognizer>> m_gestureRecognizers;
    std::vector<ConstraintPtr> m_constraints;

    struct PropertyObserverEntry {
        uint64_t id;
        std::string key;
        PropertyObserver callback;
    };
    std::vector<PropertyObserverEntry> m_propertyObservers;
    uint64_t m_nextObserverId = 1;
};

} // namespace ui
