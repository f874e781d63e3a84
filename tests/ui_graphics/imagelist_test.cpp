// The class library's image list over the system image list: images in and
// out, sizes, colours and the change notification of linked objects.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/ui/ImgList.h"

namespace {

// A 24-bit bitmap of W x H: Left's colour in the left half, Right's in the rest.
std::unique_ptr<TBitmap> TwoColours(int w, int h, TColor Left, TColor Right) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(Right);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  b->Canvas()->Brush()->SetColor(Left);
  b->Canvas()->FillRect(Rect(0, 0, w / 2, h));
  return b;
}

class TChangeCounter : public TObject {
  DK_CLASS(TChangeCounter, TObject)
 public:
  int Count = 0;
  TObject* LastSender = nullptr;
  void Changed(TObject* Sender) {
    ++Count;
    LastSender = Sender;
  }
  TNotifyEvent Event() { return TNotifyEvent(this, &TChangeCounter::Changed); }
};

TEST(ImageList, ImagesGoInAndComeOutAsIconsBitmapsAndDrawings) {
  auto* list = Create<TImageList>(nullptr);
  list->SetWidth(8);
  list->SetHeight(6);
  EXPECT_EQ(list->Count(), 0);
  auto strip = TwoColours(16, 6, clRed, clBlue);  // two images of 8 x 6
  EXPECT_EQ(list->Add(strip.get(), nullptr), 0);
  EXPECT_EQ(list->Count(), 2);
  auto masked = TwoColours(8, 6, clLime, clFuchsia);
  EXPECT_EQ(list->AddMasked(masked.get(), clFuchsia), 2);

  TIcon icon;
  list->GetIcon(1, &icon);
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 8);
  EXPECT_EQ(list->AddIcon(&icon), 3);
  EXPECT_EQ(list->Count(), 4);

  TBitmap out;
  list->SetBkColor(clWhite);
  ASSERT_TRUE(list->GetBitmap(2, &out));
  EXPECT_EQ(out.Canvas()->Pixel(1, 1), clLime);
  EXPECT_EQ(out.Canvas()->Pixel(6, 1), clWhite) << "the masked colour shows the background";
  EXPECT_FALSE(list->GetBitmap(4, &out));

  list->SetBkColor(clNone);
  auto target = TwoColours(20, 10, clYellow, clYellow);
  list->Draw(target->Canvas(), 2, 2, 2);
  EXPECT_EQ(target->Canvas()->Pixel(3, 3), clLime);
  EXPECT_EQ(target->Canvas()->Pixel(8, 3), clYellow) << "transparent where the mask is";
  list->Draw(target->Canvas(), 10, 2, 3);
  EXPECT_EQ(target->Canvas()->Pixel(11, 3), clBlue);

  list->Move(0, 3);  // red goes last
  ASSERT_TRUE(list->GetBitmap(3, &out));
  EXPECT_EQ(out.Canvas()->Pixel(1, 1), clRed);
  list->Delete(3);
  EXPECT_EQ(list->Count(), 3);
  EXPECT_THROW(list->Delete(3), EInvalidOperation);
  list->Free();
}

TEST(ImageList, SizesAndColoursReachTheSystemList) {
  auto* list = Create<TImageList>(nullptr);
  auto strip = TwoColours(16, 16, clRed, clBlue);
  list->Add(strip.get(), nullptr);
  EXPECT_EQ(list->Count(), 1);
  list->SetWidth(24);
  EXPECT_EQ(list->Count(), 0) << "a new size empties the list";
  int cx = 0, cy = 0;
  ImageList_GetIconSize(list->Handle(), &cx, &cy);
  EXPECT_EQ(cx, 24);
  EXPECT_EQ(cy, 16);
  EXPECT_EQ(list->BkColor(), clNone);
  list->SetBkColor(clGreen);
  EXPECT_EQ(ImageList_GetBkColor(list->Handle()), static_cast<COLORREF>(clGreen));
  list->SetBkColor(clNone);
  EXPECT_EQ(ImageList_GetBkColor(list->Handle()), CLR_NONE);
  EXPECT_EQ(TCustomImageList::ColorOfList(CLR_DEFAULT), clDefault);
  EXPECT_EQ(TCustomImageList::ListColor(clDefault), CLR_DEFAULT);

  // Another list takes the size, flags and images of one it is assigned.
  auto* copy = Create<TImageList>(nullptr);
  list->Add(TwoColours(48, 16, clRed, clBlue).get(), nullptr);
  copy->Assign(list);
  EXPECT_EQ(copy->Width(), 24);
  EXPECT_EQ(copy->Count(), 2);
  copy->Assign(nullptr);
  EXPECT_FALSE(copy->HandleAllocated());
  copy->Free();
  list->Free();
}

TEST(ImageList, LinkedObjectsHearOfChangesOnceAnUpdateEnds) {
  auto* list = Create<TImageList>(nullptr);
  TChangeCounter counter, event;
  auto link = std::make_unique<TChangeLink>();
  link->OnChange = counter.Event();
  list->OnChange = event.Event();
  list->RegisterChanges(link.get());
  EXPECT_EQ(link->Sender(), list);
  auto strip = TwoColours(16, 16, clRed, clBlue);
  list->Add(strip.get(), nullptr);
  EXPECT_EQ(counter.Count, 1);
  EXPECT_EQ(counter.LastSender, list);
  EXPECT_EQ(event.Count, 1);

  list->BeginUpdate();
  list->Add(strip.get(), nullptr);
  list->Clear();
  EXPECT_EQ(counter.Count, 1);
  list->EndUpdate();
  EXPECT_EQ(counter.Count, 2) << "one notification for the whole update";

  // A link that goes unregisters itself; a list that goes clears its links.
  link.reset();
  list->Add(strip.get(), nullptr);
  EXPECT_EQ(counter.Count, 2);
  TChangeLink survivor;
  list->RegisterChanges(&survivor);
  list->Free();
  EXPECT_EQ(survivor.Sender(), nullptr);
}

}  // namespace
