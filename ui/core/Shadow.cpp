#include "ui/core/Shadow.h"

#include "ui/core/ShadowBox.h"
#include "ui/markup/DpiManager.h"

namespace ui {

const wchar_t* const Shadow::kDefaultImage =
    L"file='../public/bk/bk_shadow.png' corner='30,30,30,30'";

namespace {

UiRect Scaled(const UiRect& rect)
{
    const DpiManager& dpi = DpiManager::GetInstance();
    return UiRect(dpi.ScaleInt(rect.left), dpi.ScaleInt(rect.top), dpi.ScaleInt(rect.right),
                  dpi.ScaleInt(rect.bottom));
}

} // namespace

Shadow::Shadow() : m_image(kDefaultImage)
{
    const UiRect defaults(kDefaultCorner, kDefaultCorner, kDefaultCorner, kDefaultCorner);
    m_configuredCorner = defaults;
    m_corner = Scaled(defaults);
    m_savedCorner = m_corner;
}

void Shadow::SetImage(const std::wstring& image)
{
    m_image = image;
    m_usingDefaultImage = false;
}

void Shadow::SetCorner(const UiRect& corner, bool needDpiScale)
{
    m_configuredCorner = corner;
    m_corner = needDpiScale ? Scaled(corner) : corner;
    m_savedCorner = m_corner;
}

std::unique_ptr<Control> Shadow::Attach(std::unique_ptr<Control> root)
{
    if (!m_attached || root == nullptr)
        return root;
    auto box = std::make_unique<ShadowBox>();
    box->GetLayout().SetPadding(m_corner, false);
    const int width = root->GetFixedWidth();
    const int height = root->GetFixedHeight();
    box->SetFixedWidth(width > 0 ? width + m_corner.left + m_corner.right : width, false, false);
    box->SetFixedHeight(height > 0 ? height + m_corner.top + m_corner.bottom : height, false,
                        false);
    if (m_usingDefaultImage)
        root->SetBorderRound(UiSize(kDefaultRootRound, kDefaultRootRound));
    m_root = root.get();
    box->Add(std::move(root));
    box->SetBkImage(m_image);
    m_box = box.get();
    return box;
}

void Shadow::OnMaximized()
{
    if (!m_attached)
        return;
    m_corner = UiRect();
    ApplyCorner(0);
}

void Shadow::OnRestored()
{
    if (!m_attached)
        return;
    m_corner = m_savedCorner;
    ApplyCorner(kDefaultRootRound);
}

void Shadow::RescaleDpi(int to)
{
    const bool maximized = m_corner.IsZero() && !m_savedCorner.IsZero();
    const UiRect& c = m_configuredCorner;
    m_savedCorner = UiRect(DpiManager::ScaleBy(c.left, to), DpiManager::ScaleBy(c.top, to),
                           DpiManager::ScaleBy(c.right, to), DpiManager::ScaleBy(c.bottom, to));
    if (!maximized)
        m_corner = m_savedCorner;
    if (!m_attached || m_box == nullptr || m_root == nullptr)
        return;
    m_box->GetLayout().SetPadding(m_corner, false);
    const int width = m_root->GetFixedWidth();
    const int height = m_root->GetFixedHeight();
    if (width > 0)
        m_box->SetFixedWidth(width + m_corner.left + m_corner.right, true, false);
    if (height > 0)
        m_box->SetFixedHeight(height + m_corner.top + m_corner.bottom, true, false);
}

void Shadow::ApplyCorner(int rootRound)
{
    if (m_box != nullptr)
        m_box->GetLayout().SetPadding(m_corner, false);
    if (m_usingDefaultImage && m_root != nullptr)
        m_root->SetBorderRound(UiSize(rootRound, rootRound));
}

} // namespace ui
