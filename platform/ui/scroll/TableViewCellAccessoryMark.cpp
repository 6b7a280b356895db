#include "ui/scroll/TableViewCellAccessoryMark.h"

#include "base/loop/MainThread.h"
#include "gfx/drawing/CurrentContext.h"

namespace ui {

namespace {

    gfx::Size markSize(TableViewCellAccessoryType type)
    {
        switch (type) {
        case TableViewCellAccessoryType::DisclosureIndicator:
            return { 8, 13 };
        case TableViewCellAccessoryType::DetailDisclosureButton:
            return { 22, 22 };
        case TableViewCellAccessoryType::Checkmark:
            return { 14, 11 };
        case TableViewCellAccessoryType::None:
            break;
        }
        return {};
    }

    constexpr gfx::Color chevronGray { 0.78, 0.78, 0.8, 1 };

    void strokeChevron(gfx::Context& context, const gfx::Rect& box)
    {
        context.beginPath();
        context.moveTo({ box.minX(), box.minY() });
        context.lineTo({ box.maxX(), box.midY() });
        context.lineTo({ box.minX(), box.maxY() });
        context.strokePath();
    }

} // namespace

TableViewCellAccessoryMark::TableViewCellAccessoryMark(TableViewCellAccessoryType type)
    : View(gfx::Rect { {}, markSize(type) })
    , m_type(type)
{
    BASE_ASSERT_MAIN_THREAD();
    setOpaque(false);
    setUserInteractionEnabled(false);
}

void TableViewCellAccessoryMark::drawRect(const gfx::Rect&)
{
    BASE_ASSERT_MAIN_THREAD();
    gfx::Context* context = gfx::CurrentContext::get();
    if (!context)
        return;
    gfx::Rect box = bounds().insetBy(1, 1);
    context->setLineWidth(2);
    switch (m_type) {
    case TableViewCellAccessoryType::DisclosureIndicator:
        context->setStrokeColor(chevronGray);
        strokeChevron(*context, box);
        break;
    case TableViewCellAccessoryType::DetailDisclosureButton:
        context->setStrokeColor(tintColor());
        context->setLineWidth(1);
        context->strokeEllipse(box);
        context->setLineWidth(2);
        strokeChevron(*context, box.insetBy(box.width() * 0.38, box.height() * 0.3));
        break;
    case TableViewCellAccessoryType::Checkmark:
        context->setStrokeColor(tintColor());
        context->beginPath();
        context->moveTo({ box.minX(), box.midY() });
        context->lineTo({ box.minX() + box.width() * 0.35, box.maxY() });
        context->lineTo({ box.maxX(), box.minY() });
        context->strokePath();
        break;
    case TableViewCellAccessoryType::None:
        break;
    }
}

} // namespace ui
