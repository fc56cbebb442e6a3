using System;
using System.Collections.Generic;

namespace Example.Inventory
{
    /// <summary>Something that can be counted in stock.</summary>
    public interface IStockItem
    {
        /** The number of pieces in stock. */
        int Count();
    }

    /**
     * One kind of item that the store sells.
     * @see Store
     */
    public class Item : IStockItem
    {
        /** The item's name, as shown on the shelf. */
        public string Name;

        /** The price of one piece, in cents. */
        protected int price;

        /**
         * Creates an item.
         * @param name the name
         * @param price the price in cents
         */
        public Item(string name, int price)
        {
            Name = name;
            this.price = price;
        }

        /** {@inheritDoc} */
        public int Count()
        {
            return 0;
        }
    }

    /**
     * The store: all items and their stock.
     */
    public class Store
    {
        private List<Item> items = new List<Item>();

        /**
         * Adds an item to the store.
         * @param item the item; not null
         */
        public void Add(Item item)
        {
            items.Add(item);
        }

        /**
         * Finds an item by name.
         * @param name the name to look for
         * @return the item, or null when the store has none of that name
         */
        public Item Find(string name)
        {
            return items.Find(i => i.Name == name);
        }
    }
}
